#include "BUSurfTo.h"

#include "ShellRecorder.h"

#include <QDir>

using SurfTo = ShellRecorder;

TEST_F(SurfTo, MailToLinks) {
    struct Case {
        const char* Address;
        const char* Cc;
        const char* Bcc;
        const char* Subject;
        const char* Link;
    };
    const Case cases[] = {
        {"joe@example.org", "", "", "", "mailto:joe@example.org"},
        {"joe@example.org", "c.c@x.org", "b-b_@x.org", "Re", //
         "mailto:joe@example.org?SUBJECT=Re&BCC=b-b_@x.org&CC=c.c@x.org"},
        // Delimiters, spaces and non-ASCII letters inside a value stay inside it.
        {"joe@example.org", "", "", "a&CC=eve@x.org", //
         "mailto:joe@example.org?SUBJECT=a%26CC%3Deve@x.org"},
        {"joe@example.org", "", "", "50% off #1? Dodatečné~", //
         "mailto:joe@example.org?SUBJECT=50%25%20off%20%231%3F%20Dodate%C4%8Dn%C3%A9~"},
        // So do they in the address: no header field can be smuggled in through it.
        {"joe@example.org?BCC=eve@x.org", "", "", "", //
         "mailto:joe@example.org%3FBCC%3Deve@x.org"},
        {"joe+tag@example.org", "", "", "", "mailto:joe%2Btag@example.org"},
    };
    for (const Case& c : cases) {
        Opened.clear();
        TBUSurfTo().MailTo(QString::fromUtf8(c.Address), QString::fromUtf8(c.Cc),
                           QString::fromUtf8(c.Bcc), QString::fromUtf8(c.Subject));
        EXPECT_EQ(Opened, QStringList{c.Link}) << c.Link;
    }
}

TEST_F(SurfTo, HandsTheAddressOnAsItIs) {
    const QString page = "https://quillmark.example.org/a/b?x=1&y=%20#top";
    const QString absolute = QDir::tempPath() + "/code.bmp";
    TBUSurfTo surf;
    surf.SurfTo(page);
    surf.SurfTo(absolute);
    EXPECT_EQ(Opened, (QStringList{page, "file://" + absolute}));
}
