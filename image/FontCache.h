#pragma once

#include "FontFiles.h"

#include <optional>
#include <string>
#include <vector>

// fontconfig's answers kept between runs in a small file of the user's cache, so that a run need
// not read fontconfig's whole configuration to find the face of a font. An answer holds while
// the stamp stands (fontconfig's configuration, its caches, the font directories and the
// variables that move them, as they stood when it was found) and its font file is the same file,
// unchanged.
class TFontCache {
public:
    // The answers in file that were kept under stamp; none when file is empty, missing or
    // unreadable, or was kept under another stamp.
    TFontCache(std::string file, std::string stamp);

    std::optional<TFontFile> Find(const std::string& request) const;
    // Adds the answer and writes the file anew (a new file renamed over the old one, so that a
    // run reading it at the same time sees one or the other). A failure is ignored: the cache
    // only saves time.
    void Keep(const std::string& request, const TFontFile& file);

    // $XDG_CACHE_HOME/quillmark/fonts, else $HOME/.cache/quillmark/fonts; empty without either.
    static std::string DefaultFile();
    // What fontconfig's answers depend on, as one text that changes when any of it changes.
    static std::string CurrentStamp();

private:
    struct TEntry {
        std::string Request;
        TFontFile File;
        std::string FileStamp;
    };

    std::string FFile;
    std::string FStamp;
    std::vector<TEntry> FEntries;
};
