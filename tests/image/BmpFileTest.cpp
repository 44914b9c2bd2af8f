#include "Bitmap.h"
#include "Canvas.h"
#include "Exception.h"
#include "Picture.h"
#include "Stream.h"

#include "NoTmpfile.h"
#include "Testing.h"

#include <csignal>
#include <cstring>
#include <grp.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

TEST(BmpStream, CodeImageHeadersAndRows) {
    TBitmap image = WhiteImage(525, 276);
    image.Canvas().Brush().Color = clRed;
    image.Canvas().FillRect({0, 0, 1, 1});
    image.Canvas().Brush().Color = clBlue;
    image.Canvas().FillRect({524, 275, 525, 276});
    const Bytes bmp = BmpBytes(image);
    ASSERT_EQ(bmp.size(), 579654u);
    const Bytes headers{// "BM", file size 579,654, reserved, pixels at 54
                        'B', 'M', 0x46, 0xD8, 0x08, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                        // info header size, 525 × 276 with the bottom row first, one plane
                        40, 0, 0, 0, 0x0D, 0x02, 0, 0, 0x14, 0x01, 0, 0, 1, 0,
                        // 32 bits, no compression, 579,600 pixel bytes, no resolution, no palette
                        32, 0, 0, 0, 0, 0, 0x10, 0xD8, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        0, 0, 0, 0};
    EXPECT_EQ(Bytes(bmp.begin(), bmp.begin() + 54), headers);
    // Blue, green, red, 0: the top-left pixel starts the last row, the bottom-right one ends the
    // first.
    EXPECT_EQ(Bytes(bmp.end() - 525 * 4, bmp.end() - 524 * 4), (Bytes{0, 0, 0xFF, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.begin() + 58), (Bytes{0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(Bytes(bmp.begin() + 54 + 524 * 4, bmp.begin() + 54 + 525 * 4),
              (Bytes{0xFF, 0, 0, 0}));
}

// An empty image writes an empty file, a picture without an image no file at all.
TEST(BmpFile, EmptyImagesAndPictures) {
    const ScratchDir dir;
    TBitmap empty;
    empty.SetWidth(10);
    TImageFileOptions cached;
    cached.Role = TWriteRole::Batch;
    empty.SaveToFile(dir / "empty.bmp", cached);
    TPicture().SaveToFile(dir / "none.bmp");
    EXPECT_EQ(ReadFile(dir / "empty.bmp"), Bytes{});
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"empty.bmp"});
}

// An image of many colours, recorded for SVG, whose file in every format is larger than 256
// bytes.
TBitmap ImageOfEveryFormat() {
    TBitmap image = WhiteImage(525, 276);
    image.StartRecording();
    for (int i = 0; i < 500; ++i) {
        image.Canvas().Brush().Color = i * 0x10101 * 37 % 0xFFFFFF;
        image.Canvas().FillRect({i % 50 * 10, i / 50 * 10, i % 50 * 10 + 10, i / 50 * 10 + 10});
    }
    return image;
}

// Saves with the process's file size limit lowered to bytes and SIGXFSZ ignored, both restored
// afterwards.
std::string SaveUnderFileSizeLimit(const TBitmap& image, const std::string& name, rlim_t bytes) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit lowered = old;
    lowered.rlim_cur = bytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const bool limited = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    const std::string failure =
        limited ? Raised<EWriteError>([&] { image.SaveToFile(name); }) : "no limit";
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    return failure;
}

// A file that cannot be created or written in any format leaves the directory as it was: an old
// file keeps its bytes, no temporary file stays. Control characters in a name are shown escaped.
TEST(ImageFiles, FailuresLeaveEverythingAsItWas) {
    const ScratchDir dir;
    const TBitmap image = ImageOfEveryFormat();
    const Bytes old(1000, 0x5A);
    for (const std::string extension : {".bmp", ".png", ".svg", ".jpg"}) {
        const std::string missing = dir / ("missing/code" + extension);
        EXPECT_EQ(Raised<EFCreateError>([&] { image.SaveToFile(missing); }),
                  "Cannot create file " + missing + ": No such file or directory");
        const std::string name = dir / ("dir" + extension);
        fs::create_directory(name);
        EXPECT_EQ(Raised<EFCreateError>([&] { image.SaveToFile(name); }),
                  "Cannot create file " + name + ": Is a directory");
        EXPECT_EQ(Entries(name), std::vector<std::string>{});
        WriteFile(dir / ("code" + extension), old);
        for (const std::string file : {"code", "new"}) {
            const std::string full = dir / (file + extension);
            EXPECT_EQ(SaveUnderFileSizeLimit(image, full, 256),
                      "Stream write error: " + full + ": File too large");
        }
        EXPECT_EQ(ReadFile(dir / ("code" + extension)), old);
    }
    EXPECT_EQ(Raised<EFCreateError>([&] { image.SaveToFile(dir / "a\nb\t\x1b/c.bmp"); }),
              "Cannot create file " + (dir / "a\\nb\\t\\x1B/c.bmp").string() +
                  ": No such file or directory");
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"code.bmp", "code.jpg", "code.png", "code.svg", "dir.bmp",
                                        "dir.jpg", "dir.png", "dir.svg"}));
}

// What belongs to a file, as one line: mode, owner:group and every extended attribute.
std::string Attributes(const fs::path& file) {
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) {
        return "missing";
    }
    std::ostringstream line;
    line << std::oct << (status.st_mode & 07777) << std::dec << ' ' << status.st_uid << ':'
         << status.st_gid;
    std::vector<char> names(4096);
    const ssize_t size = listxattr(file.c_str(), names.data(), names.size());
    for (const char* name = names.data(); name < names.data() + std::max<ssize_t>(size, 0);
         name += std::strlen(name) + 1) {
        std::vector<unsigned char> value(4096);
        const ssize_t length = getxattr(file.c_str(), name, value.data(), value.size());
        line << ' ' << name << '=' << std::hex;
        for (ssize_t i = 0; i < length; ++i) {
            line << static_cast<int>(value[static_cast<std::size_t>(i)]) << '.';
        }
        line << std::dec;
    }
    return line.str();
}

ino_t Inode(const fs::path& file) {
    struct stat status {};
    return stat(file.c_str(), &status) == 0 ? status.st_ino : 0;
}

constexpr uid_t Nobody = 65534;

// Saves in a child process, as the user nobody when asUser and the test runs as root, on file
// systems without O_TMPFILE when noTmpfile. Returns the failure's message, "none" for none.
std::string SaveInChild(const TBitmap& image, const fs::path& name, bool asUser, bool noTmpfile) {
    const fs::path report = name.parent_path().parent_path() / "report";
    if (fork() == 0) {
        std::string message;
        if (asUser && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0)) {
            message = "cannot become nobody";
        } else if (noTmpfile && !WithoutTmpfile()) {
            message = "cannot hide O_TMPFILE";
        } else {
            message = Raised<Exception>([&] { image.SaveToFile(name); });
        }
        WriteFile(report, Bytes(message.begin(), message.end()));
        _exit(0);
    }
    wait(nullptr);
    const Bytes message = ReadFile(report);
    fs::remove(report);
    return std::string(message.begin(), message.end());
}

// An access ACL granting user 1234 read: user rw-, user 1234 r--, group ---, mask r--, other
// ---, as the kernel stores it (little-endian version 2, then tag, permissions, id per entry).
const Bytes ReadForUser1234 = {2,    0, 0, 0,                         //
                               1,    0, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                               2,    0, 4, 0, 0xD2, 0x04, 0,    0,    //
                               4,    0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                               0x10, 0, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                               0x20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};

enum class Outcome { Replaced, InPlace, Created };

// How a case's directory is prepared: "old" (1000 bytes) with Mode unless 0, and these.
enum Setup : unsigned {
    Attribute = 1,   // user.note on old
    HardLink = 2,    // "other", a second name of old
    Acl = 4,         // an ACL on old, which belongs to nobody
    ReadOnlyDir = 8, // old belongs to the ordinary user, the directory is read-only
    BindMount = 16,  // "mounted" is bind-mounted over old
};

struct FileCase {
    const char* What;
    bool RootOnly; // skipped, visibly, when the test does not run as root
    bool AsUser;   // saved by an ordinary user (nobody, when the test runs as root)
    int Mode;
    unsigned Extras;
    const char* Link;   // what "link" points to, or none
    const char* Target; // the name saved to
    const char* File;   // where the bytes land
    Outcome Result;
};

void Prepare(const FileCase& c, const fs::path& dir) {
    const fs::path old = dir / "old";
    if (c.Mode != 0) {
        WriteFile(old, Bytes(1000, 0x5A));
        fs::permissions(old, fs::perms(c.Mode));
    }
    if (c.Link != nullptr) {
        fs::create_symlink(c.Link, dir / "link");
    }
    if (c.Extras & Attribute) {
        ASSERT_EQ(setxattr(old.c_str(), "user.note", "kept", 4, 0), 0);
    }
    if (c.Extras & HardLink) {
        fs::create_hard_link(old, dir / "other");
    }
    if ((c.Extras & (Acl | ReadOnlyDir)) && geteuid() == 0) {
        ASSERT_EQ(chown(old.c_str(), Nobody, Nobody), 0);
    }
    if (c.Extras & Acl) {
        ASSERT_EQ(setxattr(old.c_str(), "system.posix_acl_access", ReadForUser1234.data(),
                           ReadForUser1234.size(), 0),
                  0);
    }
    if (c.Extras & ReadOnlyDir) {
        fs::permissions(dir, fs::perms(0555));
    }
    if (c.Extras & BindMount) {
        WriteFile(dir / "mounted", Bytes(1000, 0x5A));
        ASSERT_EQ(mount((dir / "mounted").c_str(), old.c_str(), nullptr, MS_BIND, nullptr), 0);
    }
}

// Every kind of existing target, with and without O_TMPFILE: what is replaced keeps its owner,
// group, mode (less set-user-ID) and extended attributes; what cannot keep them is written in
// place; links are followed, never replaced; nothing else in the directory changes.
TEST(BmpFile, OwnersLinksAndAttributesOfTheTargetAreKept) {
    using enum Outcome;
    const FileCase cases[] = {
        {"own file with an attribute", false, false, 0640, Attribute, nullptr, "old", "old",
         Replaced},
        {"set-user-ID file", false, false, 04755, 0, nullptr, "old", "old", Replaced},
        {"hard-linked file", false, false, 0644, HardLink, nullptr, "old", "other", InPlace},
        {"link to a file", false, false, 0644, 0, "old", "link", "old", Replaced},
        {"dangling link", false, false, 0, 0, "new", "link", "new", Created},
        {"file in a read-only directory", false, true, 0644, ReadOnlyDir, nullptr, "old", "old",
         InPlace},
        {"another user's file with an ACL", true, false, 0600, Acl, nullptr, "old", "old",
         Replaced},
        {"root's file, written by an ordinary user", true, true, 0666, 0, nullptr, "old", "old",
         InPlace},
        {"bind-mounted file", true, false, 0644, BindMount, nullptr, "old", "mounted", InPlace},
    };
    const ScratchDir scratch;
    fs::permissions(scratch.Path(), fs::perms::all);
    const bool root = geteuid() == 0;
    const TBitmap image = WhiteImage(5, 3);
    std::string skipped;
    int index = 0;
    for (const bool noTmpfile : {false, true}) {
        for (const FileCase& c : cases) {
            if (c.RootOnly && !root) {
                skipped += noTmpfile ? "" : std::string(" \"") + c.What + "\"";
                continue;
            }
            SCOPED_TRACE(std::string(c.What) + (noTmpfile ? " without O_TMPFILE" : ""));
            const fs::path dir = scratch / std::to_string(index++);
            fs::create_directory(dir);
            fs::permissions(dir, fs::perms::all);
            Prepare(c, dir);
            const std::vector<std::string> entries = Entries(dir);
            const std::string before = Attributes(dir / c.File);
            const ino_t inode = Inode(dir / c.File);
            EXPECT_EQ(SaveInChild(image, dir / c.Target, c.AsUser, noTmpfile), "none");
            umount2((dir / "old").c_str(), MNT_DETACH);
            fs::permissions(dir, fs::perms::all);
            EXPECT_EQ(ReadFile(dir / c.File), BmpBytes(image));
            if (c.Result != Created) {
                EXPECT_EQ(Inode(dir / c.File) == inode, c.Result == InPlace);
                // Set-user-ID 04755 loses its bit.
                EXPECT_EQ(Attributes(dir / c.File),
                          before.starts_with("4755 ") ? before.substr(1) : before);
            }
            std::vector<std::string> expected = entries;
            if (c.Result == Created) {
                expected.push_back(c.File);
                std::sort(expected.begin(), expected.end());
            }
            EXPECT_EQ(Entries(dir), expected);
            EXPECT_EQ(fs::is_symlink(dir / "link"), c.Link != nullptr);
        }
    }
    if (!skipped.empty()) {
        GTEST_SKIP() << "not root: skipped" << skipped;
    }
}

} // namespace
