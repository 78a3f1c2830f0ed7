// What a control tells its owner (the editor): its value changed through a gesture.
#pragma once

class CControl;
class CDrawContext;

class CControlListener {
  public:
    virtual ~CControlListener() = default;
    /// `context` is null for key presses; a listener that redraws through it must allow that.
    virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
};
