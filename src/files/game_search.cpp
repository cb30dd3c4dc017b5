#include "files/game_search.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace {

// Steam's folders under the home folder: its own, the older link to it,
// and the Flatpak one.
const char* const kSteamRoots[] = {".local/share/Steam", ".steam/steam",
                                   ".var/app/com.valvesoftware.Steam/.local/share/Steam"};
// Where Lutris and Heroic install games, one folder per game.
const char* const kGameFolders[] = {"Games", "Games/Heroic"};

// Real files are a few kilobytes; anything larger is not Steam's.
constexpr std::size_t kMaxVdfSize = std::size_t{1} << 20;

struct Token {
    enum Kind { Text, Open, Close, End, Broken } kind;
    std::string text;
};

// The KeyValues token that starts at or after *i: a quoted or bare string,
// a brace, the end of the text, or Broken for a quoted string that does
// not end. Moves *i past it.
Token nextToken(const std::string& vdf, std::size_t* i) {
    while (*i < vdf.size()) {
        const char c = vdf[*i];
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            ++*i;
        } else if (vdf.compare(*i, 2, "//") == 0) {
            *i = vdf.find('\n', *i);
            *i = *i == std::string::npos ? vdf.size() : *i;
        } else if (c == '{' || c == '}') {
            ++*i;
            return Token{c == '{' ? Token::Open : Token::Close, ""};
        } else if (c == '"') {
            std::string text;
            for (++*i; *i < vdf.size() && vdf[*i] != '"'; ++*i) {
                if (vdf[*i] == '\\' && *i + 1 < vdf.size()) {
                    ++*i;
                }
                text += vdf[*i];
            }
            if (*i == vdf.size()) {
                return Token{Token::Broken, ""};
            }
            ++*i;
            return Token{Token::Text, text};
        } else {
            std::string text;
            for (; *i < vdf.size() && std::isspace(static_cast<unsigned char>(vdf[*i])) == 0 && vdf[*i] != '{' &&
                   vdf[*i] != '}' && vdf[*i] != '"';
                 ++*i) {
                text += vdf[*i];
            }
            return Token{Token::Text, text};
        }
    }
    return Token{Token::End, ""};
}

bool isNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isPathKey(const std::string& key) {
    std::string lower = key;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower == "path";
}

// The text of a regular file of at most kMaxVdfSize bytes, else nothing.
std::string readVdf(const fs::path& path) {
    File file;
    std::int64_t size = 0;
    std::string ignored;
    if (!openRegularFileForReading(path.string(), true, &file, &ignored) || !fileSize(file.get(), &size, &ignored) ||
        size < 0 || static_cast<std::uint64_t>(size) > kMaxVdfSize) {
        return "";
    }
    // One byte more than it had shows a file that grew meanwhile.
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t count = 0;
    if (!readSome(file.get(), &text[0], text.size(), &count, &ignored) || count > static_cast<std::size_t>(size)) {
        return "";
    }
    text.resize(count);
    return text;
}

// The folders inside `folder`, by name.
std::vector<fs::path> subfolders(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error)) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::vector<std::string> libraryFoldersIn(const std::string& vdf) {
    std::vector<std::string> folders;
    int depth = 0;
    std::size_t i = 0;
    for (Token key = nextToken(vdf, &i); key.kind != Token::End; key = nextToken(vdf, &i)) {
        if (key.kind == Token::Close) {
            if (--depth < 0) {
                return {};
            }
            continue;
        }
        // A key, then either its value or a block.
        const Token value = key.kind == Token::Text ? nextToken(vdf, &i) : Token{Token::Broken, ""};
        if (value.kind == Token::Open) {
            ++depth;
        } else if (value.kind != Token::Text) {
            return {};
        } else if (isPathKey(key.text) || (depth == 1 && isNumber(key.text))) {
            folders.push_back(value.text);
        }
    }
    return depth == 0 ? folders : std::vector<std::string>{};
}

std::vector<std::string> findGameCopies(const std::string& home, const std::string& fileName) {
    if (home.empty()) {
        return {};
    }
    std::vector<fs::path> gameFolders;
    std::set<fs::path> searched;
    for (const char* root : kSteamRoots) {
        const fs::path steam = fs::path(home) / root;
        std::vector<fs::path> libraries{steam};
        for (const std::string& library : libraryFoldersIn(readVdf(steam / "steamapps" / "libraryfolders.vdf"))) {
            libraries.emplace_back(library);
        }
        for (const fs::path& library : libraries) {
            // However often the file lists a library, or links lead to it,
            // it is searched once.
            std::error_code error;
            const fs::path identity = fs::canonical(library, error);
            if (!searched.insert(error ? library.lexically_normal() : identity).second) {
                continue;
            }
            const std::vector<fs::path> games = subfolders(library / "steamapps" / "common");
            gameFolders.insert(gameFolders.end(), games.begin(), games.end());
        }
    }
    for (const char* folder : kGameFolders) {
        const std::vector<fs::path> games = subfolders(fs::path(home) / folder);
        gameFolders.insert(gameFolders.end(), games.begin(), games.end());
    }

    std::vector<std::string> copies;
    std::set<fs::path> seen;
    for (const fs::path& folder : gameFolders) {
        const fs::path candidate = folder / fileName;
        std::error_code error;
        const fs::path identity = fs::canonical(candidate, error);
        if (!error && isRegularFile(candidate.string()) && seen.insert(identity).second) {
            copies.push_back(candidate.lexically_normal().string());
        }
    }
    return copies;
}
