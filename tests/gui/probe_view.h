// A view for toolkit tests: paints its bounds in one colour and writes what happens to it
// into a shared log.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gui/draw_context.h"
#include "gui/view.h"

using CEventLog = std::vector<std::string>;

class CProbeView : public CView {
  public:
    CProbeView(const CRectangle& bounds, std::string name, CEventLog& log,
               CRgbColour colour = kColourRed)
        : CView(bounds), name(std::move(name)), log(log), colour(colour) {}
    ~CProbeView() override { log.push_back("delete " + name); }

    void draw(CDrawContext* context) override {
        log.push_back("draw " + name);
        context->setFillColour(colour);
        // The context leaves out the top row and left column; the bounds are covered whole.
        context->fillRect({bounds.left - 1, bounds.top - 1, bounds.right, bounds.bottom});
        CView::draw(context);
    }
    void mouseDown(CDrawContext* context, const CPosition& where) override {
        log.push_back("press " + name + " " + std::to_string(where.x) + "," +
                      std::to_string(where.y) + (context ? "" : " without context"));
        for (int i = 0; context && i < mouseReads; ++i) {
            mouseStates.push_back(context->getMouseState());
        }
        if (onPress) {
            onPress(context);
        }
    }
    std::int32_t keyDown(VstKeyCode& keyCode) override {
        log.push_back("key " + name);
        return keyCode.character == keyAnswer ? 1 : -1;
    }
    void loseFocus(CDrawContext* context) override {
        (void)context;
        log.push_back("lose " + name);
    }

    /// keyDown answers 1 for this character, -1 for any other.
    std::int32_t keyAnswer = -2;
    /// How often a press reads the mouse state through its context, as a drag loop does.
    int mouseReads = 0;
    std::vector<std::int32_t> mouseStates;
    /// Runs at the end of a press, as a drag loop would.
    std::function<void(CDrawContext*)> onPress;

  private:
    std::string name;
    CEventLog& log;
    CRgbColour colour;
};
