#pragma once

class QWidget;

// A dialog component without a window of its own until it runs.
class TBUCommonDialog {
public:
    explicit TBUCommonDialog(QWidget* owner = nullptr) : FOwner(owner) {}
    virtual ~TBUCommonDialog() = default;

    // Runs the dialog; true when the user confirmed.
    virtual bool Execute() { return true; }

protected:
    // The window the dialog runs over.
    QWidget* Owner() const { return FOwner; }

private:
    QWidget* FOwner;
};
