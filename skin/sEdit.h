#pragma once

#include "Bitmap.h"
#include "sSkinnedWidget.h"
#include "sStyleEdits.h"

#include <QLineEdit>

#include <memory>

// A one-line text field whose 3-pixel frame and field colour come from its style: the pale
// field without lines normally, the window colour with two frame lines while hot (focused or
// under the mouse). The frame and field are painted into a TBitmap; the line edit draws only
// the text over it.
class TsEdit : public TsSkinnedWidget<QLineEdit> {
public:
    explicit TsEdit(QWidget* parent = nullptr);
    ~TsEdit() override;

    TsStyle& sStyle() { return *FStyle; }

    std::string ClassName() const override { return "TsEdit"; }
    void SetOwnColor(TColor) override {}

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    std::unique_ptr<TsStyle> FStyle;
    TBitmap FFace;
};
