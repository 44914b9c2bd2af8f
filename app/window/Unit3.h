#pragma once

#include <QWidget>

class TBUImage;
class TBitmap;

// The code window: it shows the code image, which every generation draws into and Save and the
// batch write out. Closing it only hides it.
class TForm3 : public QWidget {
public:
    explicit TForm3(QWidget* parent = nullptr);

    TBUImage* Image1;

    // Makes the window visible, restored from minimized, where it was last, and raises it above
    // the program's others.
    void ShowInFront();
    // The code image; the first request creates it, white, at the image control's size.
    TBitmap& CodeImage();
};
