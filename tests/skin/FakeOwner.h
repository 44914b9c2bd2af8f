#pragma once

#include "sStyleOwner.h"

#include <vector>

// A 75 × 25 control as the style sees it, its state settable and every request counted.
struct TFakeOwner : TsStyleOwner {
    bool IsDestroying = false;
    bool IsEnabled = true;
    bool HasFocus = false;
    bool IsActiveDefault = false;
    bool IsDown = false;
    bool Fades = false;
    int Repaints = 0;
    std::vector<bool> FadeCalls;

    int Width() const override { return 75; }
    int Height() const override { return 25; }
    bool Destroying() const override { return IsDestroying; }
    bool Enabled() const override { return IsEnabled; }
    bool Visible() const override { return true; }
    bool Focused() const override { return HasFocus; }
    bool ActiveDefault() const override { return IsActiveDefault; }
    bool ButtonDown() const override { return IsDown; }
    void Repaint() override { ++Repaints; }
    void SetOwnColor(TColor) override {}
    TColor ParentColor() const override { return 0x123456; }
    std::string ClassName() const override { return "TFake"; }
    bool Fade(bool in) override {
        FadeCalls.push_back(in);
        return Fades;
    }
};

// The stored style values of the main window's buttons.
inline constexpr const char* NormalGradient = "8421504;16777215;99;0;0;16777215;16777215;0;0;0";
inline constexpr const char* HotGradient =
    "8421504;8421504;10;0;0;8421504;16777215;43;0;0;16777215;10658466;28;0;0;10658466;13816530;"
    "18;0;0;13816530;13816530;0;0;0";
