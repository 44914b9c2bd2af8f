#include "FontCache.h"

#include "Testing.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<std::string> Found(const fs::path& cache, const std::string& stamp,
                                 const std::string& request) {
    const std::optional<TFontFile> file = TFontCache(cache, stamp).Find(request);
    if (!file) {
        return std::nullopt;
    }
    return file->Path + "#" + std::to_string(file->Index);
}

// Sets an environment variable for the life of the object, then puts the old value back.
class Variable {
public:
    Variable(const char* name, const std::string& value) : FName(name) {
        if (const char* old = std::getenv(name)) {
            FOld = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~Variable() {
        if (FOld) {
            setenv(FName, FOld->c_str(), 1);
        } else {
            unsetenv(FName);
        }
    }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

private:
    const char* FName;
    std::optional<std::string> FOld;
};

} // namespace

// An answer is found again under the stamp it was kept under, while its font file is the same
// file unchanged; every answer kept stays beside the others.
TEST(FontCache, AnswersHoldWhileNothingTheyDependOnChanges) {
    const ScratchDir dir;
    const fs::path cache = dir / "cache" / "quillmark" / "fonts";
    WriteFile(dir / "a.ttf", Bytes(10));
    WriteFile(dir / "b.ttc", Bytes(10));
    const std::string a = (dir / "a.ttf").string();
    const std::string b = (dir / "b.ttc").string();
    TFontCache first(cache, "s1");
    EXPECT_EQ(first.Find("Sans:80:0"), std::nullopt);
    first.Keep("Sans:80:0", {a, 0});
    first.Keep("Serif:200:100", {b, 2});
    first.Keep("Tab\tbed:80:0", {a, 0});
    EXPECT_EQ(fs::status(dir / "cache" / "quillmark").permissions(), fs::perms::owner_all);
    const std::pair<std::pair<std::string, std::string>, std::optional<std::string>> rows[] = {
        {{"s1", "Sans:80:0"}, a + "#0"},      {{"s1", "Serif:200:100"}, b + "#2"},
        {{"s1", "Sans:200:0"}, std::nullopt}, {{"s1", "Tab\tbed:80:0"}, std::nullopt},
        {{"s2", "Sans:80:0"}, std::nullopt},
    };
    for (const auto& [query, found] : rows) {
        EXPECT_EQ(Found(cache, query.first, query.second), found) << query.second;
    }
    // Only the user's own regular file, which no one else may write, is read.
    const std::pair<std::function<void()>, std::optional<std::string>> owners[] = {
        {[&] { fs::permissions(cache, fs::perms(0620)); }, std::nullopt},
        {[&] { fs::permissions(cache, fs::perms(0602)); }, std::nullopt},
        {[&] { fs::permissions(cache, fs::perms(0644)); }, a + "#0"},
        {[&] {
             fs::rename(cache, dir / "elsewhere");
             fs::create_symlink(dir / "elsewhere", cache);
         },
         std::nullopt},
        {[&] {
             fs::remove(cache);
             ASSERT_EQ(mkfifo(cache.c_str(), 0600), 0);
         },
         std::nullopt},
        {[&] {
             fs::remove(cache);
             fs::rename(dir / "elsewhere", cache);
         },
         a + "#0"},
    };
    for (const auto& [change, found] : owners) {
        change();
        EXPECT_EQ(Found(cache, "s1", "Sans:80:0"), found);
    }
    if (geteuid() == 0) {
        ASSERT_EQ(chown(cache.c_str(), 65534, 65534), 0);
        EXPECT_EQ(Found(cache, "s1", "Sans:80:0"), std::nullopt);
        ASSERT_EQ(chown(cache.c_str(), 0, 0), 0);
    }
    // A font file replaced is looked up again.
    fs::remove(dir / "b.ttc");
    WriteFile(dir / "b.ttc", Bytes(11));
    EXPECT_EQ(Found(cache, "s1", "Serif:200:100"), std::nullopt);
    EXPECT_EQ(Found(cache, "s1", "Sans:80:0"), a + "#0");
    // A damaged cache holds nothing and is written anew; one that cannot be written is no error.
    WriteFile(cache, Bytes{'x', '\n'});
    TFontCache damaged(cache, "s1");
    EXPECT_EQ(damaged.Find("Sans:80:0"), std::nullopt);
    damaged.Keep("Sans:80:0", {a, 0});
    EXPECT_EQ(Found(cache, "s1", "Sans:80:0"), a + "#0");
    TFontCache(dir / "a.ttf" / "fonts", "s1").Keep("Sans:80:0", {a, 0});
    EXPECT_EQ(Entries(dir / "cache" / "quillmark"), (std::vector<std::string>{"fonts"}));
}

// The stamp follows the user's fontconfig configuration and the variables that move it, and the
// cache lives in the user's cache directory.
TEST(FontCache, StampFollowsTheConfiguration) {
    const ScratchDir dir;
    const Variable config("XDG_CONFIG_HOME", (dir / "config").string());
    const Variable cache("XDG_CACHE_HOME", (dir / "cache").string());
    EXPECT_EQ(TFontCache::DefaultFile(), (dir / "cache" / "quillmark" / "fonts").string());
    std::vector<std::string> stamps = {TFontCache::CurrentStamp()};
    EXPECT_EQ(TFontCache::CurrentStamp(), stamps[0]);
    fs::create_directories(dir / "config" / "fontconfig");
    stamps.push_back(TFontCache::CurrentStamp());
    std::ofstream(dir / "config" / "fontconfig" / "fonts.conf") << "<fontconfig/>\n";
    stamps.push_back(TFontCache::CurrentStamp());
    std::ofstream(dir / "config" / "fontconfig" / "fonts.conf", std::ios::app) << "\n";
    stamps.push_back(TFontCache::CurrentStamp());
    {
        const Variable file("FONTCONFIG_FILE", (dir / "other.conf").string());
        stamps.push_back(TFontCache::CurrentStamp());
    }
    fs::create_directories(dir / "data" / "fonts" / "new");
    {
        const Variable data("XDG_DATA_HOME", (dir / "data").string());
        stamps.push_back(TFontCache::CurrentStamp());
        fs::create_directory(dir / "data" / "fonts" / "new" / "deeper");
        stamps.push_back(TFontCache::CurrentStamp());
        WriteFile(dir / "data" / "fonts" / "new" / "deeper" / "face.ttf", Bytes(1));
        stamps.push_back(TFontCache::CurrentStamp());
    }
    for (std::size_t i = 1; i < stamps.size(); ++i) {
        EXPECT_NE(stamps[i], stamps[i - 1]) << i;
    }
}
