#include "Bitmap.h"
#include "Canvas.h"
#include "Exception.h"
#include "Picture.h"
#include "Stream.h"

#include "ImageFiles.h"
#include "ImageRaised.h"
#include "Pixels.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include "NoTmpfile.h"

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

namespace fs = std::filesystem;

namespace {

Bytes StreamBytes(const TBitmap& image) {
    TMemoryStream stream;
    image.SaveToStream(stream);
    return stream.Data();
}

TEST(BmpStream, CodeImageHeadersAndRows) {
    TBitmap image = WhiteImage(525, 276);
    image.Canvas().Brush().Color = clRed;
    image.Canvas().FillRect({0, 0, 1, 1});
    image.Canvas().Brush().Color = clBlue;
    image.Canvas().FillRect({524, 275, 525, 276});
    const Bytes bmp = StreamBytes(image);
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

TEST(BmpStream, AppendsWithTheImagesSizesAndEmptyImagesWriteNothing) {
    TMemoryStream stream;
    stream.WriteBuffer("xy", 2);
    WhiteImage(3, 2).SaveToStream(stream);
    const Bytes& b = stream.Data();
    ASSERT_EQ(b.size(), 2 + 54 + 24u);
    // "xy" kept; file size 78, width 3, height 2, pixel bytes 24.
    EXPECT_EQ((Bytes{b[0], b[1], b[2], b[4], b[20], b[24], b[36]}),
              (Bytes{'x', 'y', 'B', 78, 3, 2, 24}));
    for (const auto& [w, h] : {std::pair{0, 0}, {5, 0}, {0, 5}}) {
        TBitmap empty;
        empty.SetWidth(w);
        empty.SetHeight(h);
        EXPECT_TRUE(StreamBytes(empty).empty()) << w << "x" << h;
    }
}

// Each name gets the image's latest BMP bytes in place of what it held.
TEST(BmpFile, EveryNameGetsTheLatestBytesReplacingWhatWasThere) {
    const ScratchDir dir;
    TBitmap image = WhiteImage(3, 2);
    image.Canvas().Brush().Color = clBlack;
    int x = 0;
    for (const std::string name : {"code.jpg", "code", "code.bmp"}) {
        WriteFile(dir / name, Bytes(100000, 0xAB));
        image.Canvas().FillRect({x, 0, x + 1, 1});
        ++x;
        image.SaveToFile(dir / name);
        EXPECT_EQ(ReadFile(dir / name), StreamBytes(image)) << name;
    }

    // An empty image writes an empty file, a picture without an image no file at all.
    TBitmap empty;
    empty.SetWidth(10);
    empty.SaveToFile(dir / "empty.bmp", TDurability::Cache);
    TPicture picture;
    picture.SaveToFile(dir / "none.bmp");
    picture.SetBitmap(image);
    picture.SaveToFile(dir / "picture.bmp");
    EXPECT_EQ(fs::file_size(dir / "empty.bmp"), 0u);
    EXPECT_EQ(ReadFile(dir / "picture.bmp"), StreamBytes(image));
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"code", "code.bmp", "code.jpg",
                                                             "empty.bmp", "picture.bmp"}));
}

TEST(BmpFile, CannotCreateLeavesEverythingAsItWas) {
    const ScratchDir dir;
    const TBitmap image = WhiteImage(4, 4);
    const std::string missing = dir / "missing/code.bmp";
    EXPECT_EQ(Raised<EFCreateError>([&] { image.SaveToFile(missing); }),
              "Cannot create file " + missing + ": No such file or directory");
    // Control characters in the name are shown escaped.
    EXPECT_EQ(Raised<EFCreateError>([&] { image.SaveToFile(dir / "a\nb\t\x1b/c.bmp"); }),
              "Cannot create file " + (dir / "a\\nb\\t\\x1B/c.bmp").string() +
                  ": No such file or directory");
    fs::create_directory(dir / "code.bmp");
    WriteFile(dir / "code.bmp/keep", Bytes{1, 2, 3});
    EXPECT_EQ(Raised<EFCreateError>([&] { image.SaveToFile(dir / "code.bmp"); }),
              "Cannot create file " + (dir / "code.bmp").string() + ": Is a directory");
    EXPECT_EQ(ReadFile(dir / "code.bmp/keep"), (Bytes{1, 2, 3}));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"code.bmp"});
    EXPECT_EQ(Entries(dir / "code.bmp"), std::vector<std::string>{"keep"});
}

// Saves with the process's file size limit lowered to bytes, SIGXFSZ ignored, both restored
// before anything else is written.
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

TEST(BmpFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    const ScratchDir dir;
    const Bytes old(1000, 0x5A);
    WriteFile(dir / "code.bmp", old);
    const TBitmap image = WhiteImage(525, 276);
    for (const std::string name : {"code.bmp", "new.bmp"}) {
        EXPECT_EQ(SaveUnderFileSizeLimit(image, dir / name, 4096),
                  "Stream write error: " + (dir / name).string() + ": File too large");
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"code.bmp"});
    }
    EXPECT_EQ(ReadFile(dir / "code.bmp"), old);
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
// systems without O_TMPFILE when noTmpfile. Returns the failure's message, "" for none.
std::string SaveInChild(const TBitmap& image, const std::string& name, bool asUser,
                        bool noTmpfile) {
    int channel[2];
    if (pipe(channel) != 0) {
        return "no pipe";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::string message;
        if (asUser && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0)) {
            message = "cannot become nobody";
        } else if (noTmpfile && !WithoutTmpfile()) {
            message = "cannot hide O_TMPFILE";
        } else {
            try {
                image.SaveToFile(name);
            } catch (const Exception& e) {
                message = e.what();
            }
        }
        const bool sent = write(channel[1], message.data(), message.size()) >= 0;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    std::string message;
    char buffer[256];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;) {
        message.append(buffer, static_cast<std::size_t>(n));
    }
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return message;
}

// An access ACL granting user 1234 read: user rw-, user 1234 r--, group ---, mask r--, other
// ---, as the kernel stores it (little-endian version 2, then tag, permissions, id per entry).
const Bytes ReadForUser1234 = {2,    0, 0, 0,                         //
                               1,    0, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                               2,    0, 4, 0, 0xD2, 0x04, 0,    0,    //
                               4,    0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                               0x10, 0, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF, //
                               0x20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};

enum class Outcome { Replaced, InPlace, Created, Failed };

struct FileCase {
    const char* What;
    // Needs root to be set up; skipped, visibly, otherwise.
    bool RootOnly;
    // Saved by an ordinary user (nobody, when the test runs as root).
    bool AsUser;
    // Prepares the directory; "old" holds the old bytes, "link" is a symbolic link.
    std::function<void(const fs::path& dir)> Make;
    const char* Target; // the name saved to
    const char* File;   // where the bytes land
    Outcome Result;
    const char* Reason; // the system's reason of a failure
};

// Every kind of existing target, with and without O_TMPFILE: what is replaced keeps its owner,
// group, mode (less set-user-ID) and extended attributes; what cannot keep them is written in
// place; links are followed, never replaced; nothing else in the directory changes.
TEST(BmpFile, OwnersLinksAndAttributesOfTheTargetAreKept) {
    const ScratchDir scratch;
    fs::permissions(scratch.Path(), fs::perms::all);
    const bool root = geteuid() == 0;
    const Bytes old(1000, 0x5A);
    const auto oldFile = [&](const fs::path& dir) { WriteFile(dir / "old", old); };
    const auto ownedByUser = [&](const fs::path& file) {
        if (root) {
            ASSERT_EQ(chown(file.c_str(), Nobody, Nobody), 0);
        }
    };
    const FileCase cases[] = {
        {"own file with an attribute", false, false,
         [&](const fs::path& dir) {
             oldFile(dir);
             fs::permissions(dir / "old", fs::perms(0640));
             ASSERT_EQ(setxattr((dir / "old").c_str(), "user.note", "kept", 4, 0), 0);
         },
         "old", "old", Outcome::Replaced, ""},
        {"set-user-ID file", false, false,
         [&](const fs::path& dir) {
             oldFile(dir);
             fs::permissions(dir / "old", fs::perms(04755));
         },
         "old", "old", Outcome::Replaced, ""},
        {"hard-linked file", false, false,
         [&](const fs::path& dir) {
             oldFile(dir);
             fs::create_hard_link(dir / "old", dir / "other");
         },
         "old", "other", Outcome::InPlace, ""},
        {"link to a file", false, false,
         [&](const fs::path& dir) {
             oldFile(dir);
             fs::create_symlink("old", dir / "link");
         },
         "link", "old", Outcome::Replaced, ""},
        {"dangling link", false, false,
         [&](const fs::path& dir) { fs::create_symlink("new", dir / "link"); }, "link", "new",
         Outcome::Created, ""},
        {"link into a missing directory", false, false,
         [&](const fs::path& dir) { fs::create_symlink("no/new", dir / "link"); }, "link", "no/new",
         Outcome::Failed, "No such file or directory"},
        {"link loop", false, false,
         [&](const fs::path& dir) { fs::create_symlink("link", dir / "link"); }, "link", "link",
         Outcome::Failed, "Too many levels of symbolic links"},
        {"file in a read-only directory", false, true,
         [&](const fs::path& dir) {
             oldFile(dir);
             ownedByUser(dir / "old");
             fs::permissions(dir, fs::perms(0555));
         },
         "old", "old", Outcome::InPlace, ""},
        {"another user's file with an ACL", true, false,
         [&](const fs::path& dir) {
             oldFile(dir);
             ownedByUser(dir / "old");
             fs::permissions(dir / "old", fs::perms(0600));
             ASSERT_EQ(setxattr((dir / "old").c_str(), "system.posix_acl_access",
                                ReadForUser1234.data(), ReadForUser1234.size(), 0),
                       0);
         },
         "old", "old", Outcome::Replaced, ""},
        {"root's file, written by an ordinary user", true, true,
         [&](const fs::path& dir) {
             oldFile(dir);
             fs::permissions(dir / "old", fs::perms(0666));
         },
         "old", "old", Outcome::InPlace, ""},
        {"bind-mounted file", true, false,
         [&](const fs::path& dir) {
             oldFile(dir);
             WriteFile(dir / "mounted", old);
             ASSERT_EQ(
                 mount((dir / "mounted").c_str(), (dir / "old").c_str(), nullptr, MS_BIND, nullptr),
                 0);
         },
         "old", "mounted", Outcome::InPlace, ""},
    };
    const TBitmap image = WhiteImage(5, 3);
    std::string skipped;
    int index = 0;
    for (const bool noTmpfile : {false, true}) {
        for (const FileCase& c : cases) {
            if (c.RootOnly && !root) {
                if (!noTmpfile) {
                    skipped += std::string(" \"") + c.What + "\"";
                }
                continue;
            }
            SCOPED_TRACE(std::string(c.What) + (noTmpfile ? " without O_TMPFILE" : ""));
            const fs::path dir = scratch / std::to_string(index++);
            fs::create_directory(dir);
            fs::permissions(dir, fs::perms::all);
            c.Make(dir);
            const std::vector<std::string> entries = Entries(dir);
            const std::string before = Attributes(dir / c.File);
            const ino_t inode = Inode(dir / c.File);

            const std::string target = dir / c.Target;
            EXPECT_EQ(SaveInChild(image, target, c.AsUser, noTmpfile),
                      c.Result == Outcome::Failed ? "Cannot create file " + target + ": " + c.Reason
                                                  : "");
            umount2((dir / "old").c_str(), MNT_DETACH);
            fs::permissions(dir, fs::perms::all);

            const bool written = c.Result != Outcome::Failed;
            EXPECT_EQ(ReadFile(dir / c.File), written ? StreamBytes(image) : Bytes{});
            if (c.Result == Outcome::Replaced || c.Result == Outcome::InPlace) {
                EXPECT_EQ(Inode(dir / c.File) == inode, c.Result == Outcome::InPlace);
                // Set-user-ID 04755 loses its bit.
                std::string kept = before;
                if (kept.starts_with("4755")) {
                    kept.replace(0, 4, "755");
                }
                EXPECT_EQ(Attributes(dir / c.File), kept);
            }
            std::vector<std::string> expected = entries;
            if (c.Result == Outcome::Created) {
                expected.push_back(c.File);
                std::sort(expected.begin(), expected.end());
            }
            EXPECT_EQ(Entries(dir), expected);
            EXPECT_EQ(fs::is_symlink(dir / "link"), std::string(c.Target) == "link");
        }
    }
    if (!skipped.empty()) {
        GTEST_SKIP() << "not root: skipped" << skipped;
    }
}

} // namespace
