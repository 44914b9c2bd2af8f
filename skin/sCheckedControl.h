#pragma once

#include "Bitmap.h"
#include "QtBridge.h"
#include "sCheckPaint.h"
#include "sSkinnedWidget.h"
#include "sStyleEdits.h"

#include <QWidget>

#include <memory>
#include <string>

class TImageList;

// A control with a check glyph and a caption, painted from its style into the style's cache:
// the parent's colour, the caption beside the glyph, the glyph of the state (hot under the mouse
// or while focused). A click (press and release, wherever the release is) or the space bar
// toggles Checked unless ReadOnly and raises OnChange.
class TsCheckedControl : public TsSkinnedWidget<QWidget> {
public:
    explicit TsCheckedControl(QWidget* parent = nullptr);
    ~TsCheckedControl() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TsStyle& sStyle() { return *FStyle; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool v);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool Checked() const { return FChecked; }
    // A program change raises no event.
    void SetChecked(bool v);
    // Own glyphs; call GlyphsChanged() after changing them in place.
    TBitmap& GlyphChecked() { return FGlyphChecked; }
    TBitmap& GlyphUnChecked() { return FGlyphUnChecked; }
    void GlyphsChanged() { FStyle->Invalidate(); }
    int ImgChecked() const { return FImgChecked; }
    void SetImgChecked(int v);
    int ImgUnchecked() const { return FImgUnchecked; }
    void SetImgUnchecked(int v);
    int ImgCheckedHot() const { return FImgCheckedHot; }
    void SetImgCheckedHot(int v);
    int ImgUncheckedHot() const { return FImgUncheckedHot; }
    void SetImgUncheckedHot(int v);
    // The list is not owned and must outlive its use here.
    const TImageList* Images() const { return FImages; }
    void SetImages(const TImageList* v);
    TCheckAreaLayout Layout() const { return FLayout; }
    void SetLayout(TCheckAreaLayout v);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
    void SetTabStop(bool v) { setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus); }
    bool Pressed() const { return FPressed; }
    TNotifyEvent OnChange;
    TNotifyEvent OnClick;

    // The glyph's rectangle in the control.
    TRect GlyphRect() const;
    // A click without the mouse (a screen reader's Toggle): flips Checked, as a click does,
    // unless disabled or ReadOnly, then raises OnClick.
    void Click();

    void SetOwnColor(TColor) override {}
    std::string ClassName() const override { return "TsCheckedControl"; }

protected:
    // The glyph of the state at the scale.
    TBitmap CurrentGlyph(double scale) const;
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    void Toggle();
    // What a mouse release finishes: the toggle, and OnClick when clicked (released inside).
    void Release(bool clicked);
    // Tells screen readers that Checked changed.
    void AnnounceChecked();

    std::unique_ptr<TsStyle> FStyle;
    TAlignment FAlignment = taLeftJustify;
    bool FShowFocus = false;
    std::string FCaption;
    bool FChecked = false;
    TBitmap FGlyphChecked;
    TBitmap FGlyphUnChecked;
    int FImgChecked = 0;
    int FImgUnchecked = 0;
    int FImgCheckedHot = 0;
    int FImgUncheckedHot = 0;
    const TImageList* FImages = nullptr;
    TCheckAreaLayout FLayout = calLeft;
    bool FMultiLine = false;
    bool FReadOnly = false;
    bool FPressed = false;
};
