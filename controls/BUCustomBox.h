#pragma once

#include "Bitmap.h"
#include "Graphics.h"
#include "QtBridge.h"

#include <QWidget>

#include <string>

class QLineEdit;
class QToolButton;

enum class TPosition { onLeft, onRight };

// Called after a confirmed dialog with the box's text.
using TOnOpened = std::function<void(QObject* Sender, const std::string& Value)>;

// A one-line edit with a small browse button beside it; the button runs ButtonClick and follows
// the edit in the Tab order.
class TBUCustomBox : public QWidget {
public:
    explicit TBUCustomBox(QWidget* parent = nullptr);

    // The edit's hint; its tooltip shows it above the whole text, which a narrow edit may not.
    const std::string& HintEdit() const { return FHintEdit; }
    void SetHintEdit(const std::string& v);
    std::string HintButton() const;
    void SetHintButton(const std::string& v);
    bool ReadOnly() const;
    void SetReadOnly(bool v);
    const TFont& EditFont() const { return FEditFont; }
    void SetEditFont(const TFont& v);
    TPosition ButtonPosition() const { return FButtonPosition; }
    void SetButtonPosition(TPosition v);
    bool ButtonIsFlat() const;
    void SetButtonIsFlat(bool v);
    // The button's glyph; its bottom-left pixel's colour is transparent.
    const TBitmap& Picture() const { return FPicture; }
    void SetPicture(const TBitmap& v);

    QLineEdit* Edit() const { return FEdit; }

    // The user's home directory: HOME, or without it the password database's entry (where Qt
    // would answer "/").
    static std::string HomeDirectory();
    QToolButton* Button() const { return FButton; }

protected:
    // What the button does; nothing here.
    virtual void ButtonClick() {}
    // The edit's text, and setting it.
    std::string Text() const;
    void SetText(const std::string& v);
    // The text as a path: "~" alone or before a "/" stands for HomeDirectory(), as in a shell.
    std::string Path() const;

    void resizeEvent(QResizeEvent* event) override;

private:
    static constexpr int ButtonWidth = 20;

    void ArrangeParts();
    void UpdateEditTip();

    QLineEdit* FEdit;
    std::string FHintEdit;
    QToolButton* FButton;
    TFont FEditFont;
    TPosition FButtonPosition = TPosition::onRight;
    TBitmap FPicture;
};
