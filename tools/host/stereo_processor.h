// What a pass over the input drives: one or more plug-in instances that take a block of two
// channels and give back two.
#pragma once

class StereoProcessor {
  public:
    virtual ~StereoProcessor() = default;

    /// Runs one block of `frames` frames; the inputs may be changed.
    virtual void process(float* left, float* right, float* outLeft, float* outRight,
                         int frames) = 0;
};
