#pragma once

#include "Color.h"

#include <string>

// What a style needs from the control that owns it. The widgets implement it; tests use plain
// stand-ins, so the style's rules run without a window system. Nothing in this program designs
// forms, so the design-time cases of the rules never arise.
class TsStyleOwner {
public:
    virtual ~TsStyleOwner() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Destroying() const { return false; }
    virtual bool Enabled() const = 0;
    virtual bool Visible() const = 0;
    // Holds the input focus.
    virtual bool Focused() const = 0;
    // A TsButton whose Default is set and which is the form's active default button.
    virtual bool ActiveDefault() const { return false; }
    // A button control held down.
    virtual bool ButtonDown() const { return false; }
    // Asks for a repaint.
    virtual void Repaint() = 0;
    // The control's own colour and its parent's.
    virtual void SetOwnColor(TColor color) = 0;
    virtual TColor ParentColor() const = 0;
    virtual std::string ClassName() const = 0;
    // Starts the cross-fade into (true) or out of the hot face; false for a control that does
    // not fade, which is then simply repainted.
    virtual bool Fade(bool /*in*/) { return false; }
};

// The notifications a control hands its style.
enum class TsMessage { MouseEnter, MouseLeave, SetFocus, KillFocus, Move, Size };
