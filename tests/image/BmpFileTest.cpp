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

// Becomes the user nobody when the process runs as root. False when it cannot.
bool BecomeNobody() {
    return geteuid() != 0 ||
           (setgroups(0, nullptr) == 0 && setgid(Nobody) == 0 && setuid(Nobody) == 0);
}

// Saves in a child process, as the user nobody when asUser and the test runs as root, on file
// systems where O_TMPFILE fails with tmpfileError unless 0. Returns the failure's message, "none"
// for none.
std::string SaveInChild(const TBitmap& image, const fs::path& name, bool asUser,
                        int tmpfileError = 0, TWriteRole role = TWriteRole::Single) {
    const fs::path report = name.parent_path().parent_path() / "report";
    if (fork() == 0) {
        // A save that hangs (opening a FIFO no one reads) fails the case instead of the run.
        alarm(60);
        std::string message;
        if (asUser && !BecomeNobody()) {
            message = "cannot become nobody";
        } else if (tmpfileError != 0 && !WithoutTmpfile(tmpfileError)) {
            message = "cannot hide O_TMPFILE";
        } else {
            TImageFileOptions options;
            options.Role = role;
            message = Raised<Exception>([&] { image.SaveToFile(name, options); });
        }
        WriteFile(report, Bytes(message.begin(), message.end()));
        _exit(0);
    }
    wait(nullptr);
    const Bytes message = fs::exists(report) ? ReadFile(report) : Bytes{'h', 'u', 'n', 'g'};
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

enum class Outcome { Replaced, InPlace, Created, Refused };

// How a case's directory is prepared: "old" (1000 bytes) with Mode unless 0, and these.
enum Setup : unsigned {
    Attribute = 1,   // user.note on old
    HardLink = 2,    // "other", a second name of old
    Acl = 4,         // an ACL on old, which belongs to nobody
    ReadOnlyDir = 8, // old belongs to the ordinary user, the directory is read-only
    BindMount = 16,  // "mounted" is bind-mounted over old
    OtherGroup = 32, // old belongs to group 1234, not the process's
    ThreeNotes = 64, // user.a, user.b and user.c on old
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
    bool Owned = false; // old belongs to the ordinary user
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
    for (const char* note : {"user.a", "user.b", "user.c"}) {
        if (c.Extras & ThreeNotes) {
            ASSERT_EQ(setxattr(old.c_str(), note, note, std::strlen(note), 0), 0);
        }
    }
    if (c.Extras & OtherGroup) {
        ASSERT_EQ(chown(old.c_str(), static_cast<uid_t>(-1), 1234), 0);
    }
    if (c.Extras & HardLink) {
        fs::create_hard_link(old, dir / "other");
    }
    if (((c.Extras & (Acl | ReadOnlyDir)) || c.Owned) && geteuid() == 0) {
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
// place; what a plain overwrite may not write is refused; links are followed, never replaced;
// nothing else in the directory changes.
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
        {"own file of another group", true, false, 0640, OtherGroup, nullptr, "old", "old",
         Replaced},
        {"file with three attributes", false, false, 0600, ThreeNotes, nullptr, "old", "old",
         Replaced},
        {"own read-only file, written by an ordinary user", false, true, 0444, 0, nullptr, "old",
         "old", Refused, true},
    };
    const ScratchDir scratch;
    fs::permissions(scratch.Path(), fs::perms::all);
    const bool root = geteuid() == 0;
    const TBitmap image = WhiteImage(5, 3);
    std::string skipped;
    int index = 0;
    for (const int tmpfileError : {0, EOPNOTSUPP, EISDIR}) {
        for (const FileCase& c : cases) {
            if (c.RootOnly && !root) {
                skipped += tmpfileError != 0 ? "" : std::string(" \"") + c.What + "\"";
                continue;
            }
            SCOPED_TRACE(std::string(c.What) + " O_TMPFILE failing with " +
                         std::to_string(tmpfileError));
            const fs::path dir = scratch / std::to_string(index++);
            fs::create_directory(dir);
            fs::permissions(dir, fs::perms::all);
            Prepare(c, dir);
            const std::vector<std::string> entries = Entries(dir);
            const std::string before = Attributes(dir / c.File);
            const ino_t inode = Inode(dir / c.File);
            EXPECT_EQ(SaveInChild(image, dir / c.Target, c.AsUser, tmpfileError),
                      c.Result == Refused ? "Cannot create file " + (dir / c.Target).string() +
                                                ": Permission denied"
                                          : "none");
            umount2((dir / "old").c_str(), MNT_DETACH);
            fs::permissions(dir, fs::perms::all);
            EXPECT_EQ(ReadFile(dir / c.File),
                      c.Result == Refused ? Bytes(1000, 0x5A) : BmpBytes(image));
            if (c.Result != Created) {
                EXPECT_EQ(Inode(dir / c.File) == inode, c.Result == InPlace || c.Result == Refused);
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

// What a message shows of a name: no byte that a terminal could take for a command.
TEST(FileNames, ControlCharactersAndStrayBytesAreShownEscaped) {
    const std::pair<std::string, std::string> rows[] = {
        {"a\nb\tc\rd", "a\\nb\\tc\\rd"},
        {"\x1b[2J\x7f", "\\x1B[2J\\x7F"},
        {"\xc2\x9b"
         "1m",
         "\\xC2\\x9B"
         "1m"}, // U+009B, the C1 form of ESC [
        {"\x9b"
         "1m\xe9",
         "\\x9B"
         "1m\\xE9"}, // bytes that start no UTF-8 character
        {"caf\xc3\xa9\xc2\xa0\xe2\x82\xac", "caf\xc3\xa9\xc2\xa0\xe2\x82\xac"},
    };
    for (const auto& [name, shown] : rows) {
        EXPECT_EQ(EscapedFileName(name), shown);
    }
}

// A name as long as the system takes is replaced as often as it is saved, with or without
// O_TMPFILE: the temporary name beside it never makes a longer path.
TEST(BmpFile, TheLongestNameIsReplacedToo) {
    const ScratchDir scratch;
    fs::path name = scratch.Path();
    while (name.string().size() < PATH_MAX - 400) {
        name /= std::string(200, 'd');
    }
    fs::create_directories(name);
    name /= std::string(PATH_MAX - 1 - name.string().size() - 1, 'f');
    ASSERT_EQ(name.string().size(), PATH_MAX - 1u);
    const TBitmap image = WhiteImage(5, 3);
    for (const int tmpfileError : {0, EOPNOTSUPP, 0}) {
        EXPECT_EQ(SaveInChild(image, name, false, tmpfileError), "none") << tmpfileError;
    }
    EXPECT_EQ(ReadFile(name), BmpBytes(image));
}

// A user, nobody, saves into a sticky directory that everyone may write, where user 1234 planted
// links, a FIFO and a file: each is refused and nothing is written anywhere, whatever the kernel's
// protected_* settings; links of the user's own or of the directory's owner are followed; a
// batch refuses a FIFO in any directory.
TEST(BmpFile, WhatAnotherUserPlantedInASharedDirectoryIsRefused) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "not root: cannot plant files of other users";
    }
    constexpr uid_t Planter = 1234;
    const ScratchDir scratch;
    fs::permissions(scratch.Path(), fs::perms::all);
    const fs::path shared = scratch / "shared";
    const fs::path victim = scratch / "victim";
    const fs::path own = scratch / "own";
    for (const fs::path& dir : {shared, victim, own}) {
        fs::create_directory(dir);
    }
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    ASSERT_EQ(chown(victim.c_str(), Nobody, Nobody), 0);
    ASSERT_EQ(chown(own.c_str(), Nobody, Nobody), 0);
    const Bytes secret(1000, 0x5A);
    WriteFile(victim / "secret", secret);
    ASSERT_EQ(chown((victim / "secret").c_str(), Nobody, Nobody), 0);
    const auto plant = [](const fs::path& entry, uid_t owner) {
        ASSERT_EQ(lchown(entry.c_str(), owner, owner), 0);
    };
    fs::create_symlink(victim / "secret", shared / "to-secret");
    plant(shared / "to-secret", Planter);
    fs::create_symlink(victim / "made", shared / "dangling");
    plant(shared / "dangling", Planter);
    fs::create_directory_symlink(victim, shared / "to-victim");
    plant(shared / "to-victim", Planter);
    ASSERT_EQ(mkfifo((shared / "fifo").c_str(), 0666), 0);
    plant(shared / "fifo", Planter);
    WriteFile(shared / "file", secret);
    fs::permissions(shared / "file", fs::perms(0666));
    plant(shared / "file", Planter);
    fs::create_symlink(victim / "mine", shared / "mine");
    plant(shared / "mine", Nobody);
    fs::create_symlink(victim / "owners", shared / "owners");
    plant(shared / "owners", 0);
    ASSERT_EQ(mkfifo((own / "fifo").c_str(), 0666), 0);
    plant(own / "fifo", Nobody);

    const std::string link = ": a symbolic link in a shared directory that belongs to another user";
    const std::string file = ": a file in a shared directory that belongs to another user";
    const std::tuple<fs::path, TWriteRole, std::string> rows[] = {
        {shared / "to-secret", TWriteRole::Single, link},
        {shared / "to-secret", TWriteRole::Batch, link},
        {shared / "dangling", TWriteRole::Single, link},
        {shared / "to-victim" / "secret", TWriteRole::Single, link},
        {shared / "fifo", TWriteRole::Single, file},
        {shared / "file", TWriteRole::Batch, file},
        {own / "fifo", TWriteRole::Batch, ": not a regular file"},
        {shared / "mine", TWriteRole::Single, ""},
        {shared / "owners", TWriteRole::Batch, ""},
    };
    const TBitmap image = WhiteImage(5, 3);
    for (const auto& [name, role, reason] : rows) {
        EXPECT_EQ(SaveInChild(image, name, true, 0, role),
                  reason.empty() ? "none" : "Cannot create file " + name.string() + reason)
            << name;
    }
    EXPECT_EQ(ReadFile(victim / "secret"), secret);
    EXPECT_EQ(ReadFile(shared / "file"), secret);
    EXPECT_EQ(ReadFile(victim / "mine"), BmpBytes(image));
    EXPECT_EQ(ReadFile(victim / "owners"), BmpBytes(image));
    EXPECT_EQ(Entries(victim), (std::vector<std::string>{"mine", "owners", "secret"}));
    EXPECT_EQ(Entries(shared).size(), 7u);
    EXPECT_EQ(Entries(own), std::vector<std::string>{"fifo"});
}

} // namespace
