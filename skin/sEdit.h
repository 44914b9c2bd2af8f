#pragma once

#include "Bitmap.h"
#include "sStyleEdits.h"
#include "sStyleOwner.h"

#include <QLineEdit>

#include <memory>

// A one-line text field whose 3-pixel frame and field colour come from its style: the pale
// field without lines normally, the window colour with two frame lines while hot (focused or
// under the mouse). The frame and field are painted into a TBitmap; the line edit draws only
// the text over it.
class TsEdit : public QLineEdit, public TsStyleOwner {
public:
    explicit TsEdit(QWidget* parent = nullptr);
    ~TsEdit() override;

    TsStyle& sStyle() { return *FStyle; }

    // TsStyleOwner
    int Width() const override { return width(); }
    int Height() const override { return height(); }
    bool Destroying() const override { return FDestroying; }
    bool Enabled() const override { return isEnabled(); }
    bool Visible() const override { return isVisible(); }
    bool Focused() const override { return hasFocus(); }
    void Repaint() override { update(); }
    void SetOwnColor(TColor) override {}
    TColor ParentColor() const override;
    std::string ClassName() const override { return "TsEdit"; }

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    std::unique_ptr<TsStyle> FStyle;
    TBitmap FFace;
    bool FDestroying = false;
};
