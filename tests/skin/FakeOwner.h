#pragma once

#include "sStyleOwner.h"

#include <vector>

// A control as the style sees it, with every answer settable and every request counted.
struct TFakeOwner : TsStyleOwner {
    int W = 75;
    int H = 25;
    bool IsDestroying = false;
    bool IsEnabled = true;
    bool IsVisible = true;
    bool HasFocus = false;
    bool IsActiveDefault = false;
    bool IsDown = false;
    bool Fades = false;
    TColor Parent = 0x123456;
    int Repaints = 0;
    std::vector<bool> FadeCalls;

    int Width() const override { return W; }
    int Height() const override { return H; }
    bool Destroying() const override { return IsDestroying; }
    bool Enabled() const override { return IsEnabled; }
    bool Visible() const override { return IsVisible; }
    bool Focused() const override { return HasFocus; }
    bool ActiveDefault() const override { return IsActiveDefault; }
    bool ButtonDown() const override { return IsDown; }
    void Repaint() override { ++Repaints; }
    void SetOwnColor(TColor) override {}
    TColor ParentColor() const override { return Parent; }
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
