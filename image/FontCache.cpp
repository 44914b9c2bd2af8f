#include "FontCache.h"

#include "Stream.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view Heading = "quillmark fonts 1";

// The file's identity and last change, or "-" for a path that does not exist.
std::string PathStamp(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return "-";
    }
    std::ostringstream stamp;
    stamp << status.st_dev << ':' << status.st_ino << ':' << status.st_size << ':'
          << status.st_mtim.tv_sec << '.' << status.st_mtim.tv_nsec << ':' << status.st_ctim.tv_sec
          << '.' << status.st_ctim.tv_nsec;
    return stamp.str();
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The variable's directory, else the home directory's default one; empty without either.
std::string XdgDirectory(const char* name, const char* underHome) {
    const std::string value = Variable(name);
    if (!value.empty() && value.front() == '/') {
        return value;
    }
    const std::string home = Variable("HOME");
    return home.empty() ? std::string() : home + '/' + underHome;
}

// The directory's stamp and those of the directories in it, down to depth levels below it: a
// font added to a directory of fonts changes the directory that holds it.
void StampTree(const std::string& directory, int depth, std::string& stamp) {
    stamp += directory;
    stamp += '=';
    stamp += PathStamp(directory);
    stamp += '\n';
    if (depth == 0) {
        return;
    }
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> children;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        struct stat status {};
        const bool isDirectory =
            entry->d_type == DT_DIR ||
            ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) &&
             fstatat(dirfd(dir), entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode));
        if (isDirectory && name != "." && name != "..") {
            children.emplace_back(name);
        }
    }
    closedir(dir);
    // The order of readdir is the file system's; the stamp must not depend on it.
    std::sort(children.begin(), children.end());
    for (const std::string& child : children) {
        StampTree(directory + '/' + child, depth - 1, stamp);
    }
}

// FNV-1a: a short, stable digest of the stamp's text.
std::string Digest(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

bool Plain(std::string_view text) {
    return text.find_first_of("\t\n") == std::string_view::npos;
}

} // namespace

TFontCache::TFontCache(std::string file, std::string stamp)
    : FFile(std::move(file)), FStamp(std::move(stamp)) {
    if (FFile.empty()) {
        return;
    }
    // Only the user's own regular file, which no one else may write: an answer planted in a
    // shared cache directory would choose the face of every text line, and a FIFO would hold the
    // run up.
    const int held = open(FFile.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (held < 0) {
        return;
    }
    struct stat status {};
    std::string text;
    if (fstat(held, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == geteuid() &&
        (status.st_mode & (S_IWGRP | S_IWOTH)) == 0) {
        if (!ReadAll(held, text)) {
            text.clear();
        }
    }
    close(held);
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != Heading || !std::getline(in, line) ||
        line != "stamp " + FStamp) {
        return;
    }
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        TEntry entry;
        std::string index;
        if (std::getline(fields, entry.Request, '\t') && std::getline(fields, index, '\t') &&
            std::getline(fields, entry.FileStamp, '\t') && std::getline(fields, entry.File.Path) &&
            !entry.File.Path.empty()) {
            entry.File.Index = std::atoi(index.c_str());
            FEntries.push_back(std::move(entry));
        }
    }
}

std::optional<TFontFile> TFontCache::Find(const std::string& request) const {
    for (const TEntry& entry : FEntries) {
        if (entry.Request == request && entry.FileStamp == PathStamp(entry.File.Path)) {
            return entry.File;
        }
    }
    return std::nullopt;
}

void TFontCache::Keep(const std::string& request, const TFontFile& file) {
    if (FFile.empty() || !Plain(request) || !Plain(file.Path)) {
        return;
    }
    std::erase_if(FEntries, [&](const TEntry& entry) { return entry.Request == request; });
    FEntries.push_back({request, file, PathStamp(file.Path)});
    std::string text(Heading);
    text += "\nstamp " + FStamp + '\n';
    for (const TEntry& entry : FEntries) {
        text += entry.Request + '\t' + std::to_string(entry.File.Index) + '\t' + entry.FileStamp +
                '\t' + entry.File.Path + '\n';
    }
    const std::string directory = FFile.substr(0, FFile.rfind('/'));
    // Made with its parents, for the user alone.
    for (std::size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        mkdir(directory.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) {
            break;
        }
    }
    std::string temporary = FFile + ".XXXXXX";
    const int out = mkstemp(temporary.data());
    if (out < 0) {
        return;
    }
    const bool written = write(out, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (close(out) != 0 || !written || rename(temporary.c_str(), FFile.c_str()) != 0) {
        unlink(temporary.c_str());
    }
}

std::string TFontCache::DefaultFile() {
    const std::string cache = XdgDirectory("XDG_CACHE_HOME", ".cache");
    return cache.empty() ? std::string() : cache + "/quillmark/fonts";
}

std::string TFontCache::CurrentStamp() {
    const std::string home = Variable("HOME");
    const std::string config = XdgDirectory("XDG_CONFIG_HOME", ".config");
    const std::string cache = XdgDirectory("XDG_CACHE_HOME", ".cache");
    const std::string data = XdgDirectory("XDG_DATA_HOME", ".local/share");
    std::string stamp;
    for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME",
                             "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
        stamp += name;
        stamp += '=';
        stamp += Variable(name);
        stamp += '\n';
    }
    // The configuration, where fontconfig and Debian keep it, and the user's.
    std::vector<std::string> files = {
        "/etc/fonts", "/etc/fonts/fonts.conf", "/etc/fonts/conf.d", "/etc/fonts/local.conf",
        Variable("FONTCONFIG_FILE"), Variable("FONTCONFIG_PATH"), config + "/fontconfig",
        config + "/fontconfig/fonts.conf", config + "/fontconfig/conf.d", home + "/.fonts.conf",
        home + "/.fonts.conf.d",
        // fontconfig's caches, which fc-cache renews when fonts come
        // and go.
        "/var/cache/fontconfig", cache + "/fontconfig", home + "/.fontconfig"};
    for (const std::string& file : files) {
        stamp += file;
        stamp += '=';
        stamp += file.empty() ? "" : PathStamp(file);
        stamp += '\n';
    }
    for (const std::string& fonts :
         {std::string("/usr/share/fonts"), std::string("/usr/local/share/fonts"), data + "/fonts",
          home + "/.fonts"}) {
        StampTree(fonts, 2, stamp);
    }
    return Digest(stamp);
}
