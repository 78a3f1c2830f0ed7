#include "tools/host/metering_session.h"

#include <algorithm>
#include <cmath>
#include <cstring>

MeteringSession::MeteringSession(AudioSource& source, StereoProcessor& plugin,
                                 SessionReport& report, int blockFrames, ReadingInterval every)
    : source(source),
      plugin(plugin),
      report(report),
      blockFrames(blockFrames),
      every(every),
      peaks(source.channels(), source.fullScale()),
      inLeft(blockFrames),
      inRight(blockFrames),
      feedLeft(blockFrames),
      feedRight(blockFrames),
      outLeft(blockFrames),
      outRight(blockFrames) {}

bool MeteringSession::due(std::int64_t blocks, std::int64_t frames) {
    if (every.blocks > 0) {
        return blocks % every.blocks == 0;
    }
    if (frames < nextMark) {
        return false;
    }
    // Marks fall at whole multiples of the interval, so they do not drift on long inputs; a
    // block longer than the interval passes several at once.
    const double markFrames = every.seconds * source.sampleRate();
    while (nextMark <= frames) {
        ++marks;
        nextMark = std::max<std::int64_t>(nextMark + 1, std::llround(marks * markFrames));
    }
    return true;
}

void MeteringSession::compare(std::int64_t start, int frames) {
    const std::size_t bytes = static_cast<std::size_t>(frames) * sizeof(float);
    if (std::memcmp(inLeft.data(), outLeft.data(), bytes) == 0 &&
        std::memcmp(inRight.data(), outRight.data(), bytes) == 0) {
        return;
    }
    for (int i = 0; i < frames; ++i) {
        // Bit patterns, not values: -0 for 0 or a changed NaN is a change too.
        if (std::memcmp(&inLeft[i], &outLeft[i], sizeof(float)) != 0 ||
            std::memcmp(&inRight[i], &outRight[i], sizeof(float)) != 0) {
            if (check.differingFrames++ == 0) {
                check.firstDifference = start + i;
            }
        }
    }
}

bool MeteringSession::run(const volatile std::sig_atomic_t& stop, ProgressBar& progress,
                          std::string& error) {
    nextMark = std::max<std::int64_t>(1, std::llround(every.seconds * source.sampleRate()));
    marks = 1;
    std::int64_t blocks = 0;
    bool reportedLast = true;
    for (;;) {
        if (stop) {
            error = "interrupted";
            return false;
        }
        const int frames = source.read(inLeft.data(), inRight.data(), blockFrames);
        if (frames < 0) {
            error = source.error();
            return false;
        }
        if (frames == 0) {
            break;
        }
        // The plug-ins get a copy: a change they make to their inputs must not hide one.
        std::copy_n(inLeft.data(), frames, feedLeft.data());
        std::copy_n(inRight.data(), frames, feedRight.data());
        plugin.process(feedLeft.data(), feedRight.data(), outLeft.data(), outRight.data(), frames);
        compare(check.frames, frames);
        if (loudness) {
            const float* processed[] = {outLeft.data(), outRight.data()};
            loudness->process(processed, static_cast<std::size_t>(frames));
        }
        peaks.add(inLeft.data(), inRight.data(), frames, check.frames);
        check.frames += frames;
        if (output && !output->write(outLeft.data(), outRight.data(), frames, error)) {
            return false;
        }
        ++blocks;
        const double seconds = static_cast<double>(check.frames) / source.sampleRate();
        report.track(seconds);
        if (camera && !camera->afterBlock(seconds, error)) {
            return false;
        }
        reportedLast = due(blocks, check.frames);
        if (reportedLast) {
            progress.makeRoom();
            const bool over[2] = {peaks.takeOver(0), peaks.takeOver(1)};
            report.interval(seconds, over);
        }
        progress.update(check.frames);
    }
    progress.clear();
    if (camera && !camera->finish(error)) {
        return false;
    }
    if (!reportedLast) {
        const bool over[2] = {peaks.takeOver(0), peaks.takeOver(1)};
        report.interval(static_cast<double>(check.frames) / source.sampleRate(), over);
    }
    return true;
}
