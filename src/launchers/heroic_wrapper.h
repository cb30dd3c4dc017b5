#pragma once

#include <string>

// A game's wrappers in Heroic's settings for it,
// GamesConfig/<app name>.json: {"<app name>": {"wrapperOptions": [{"exe":
// "...", "args": "..."}, ...], ...}, ...}. Heroic runs each wrapper, then
// the next, then the game. The file is written back in the layout it has
// (Heroic's own: two spaces), and refused when it has another.

/// The args of the tool's wrapper (one whose exe is a program of the
/// tool's, or `also`: see isToolProgram) in the game's settings, in *args;
/// *present says whether there is one. False, with the reason, for a text
/// that the tool does not change.
bool readHeroicWrapper(const std::string& json, const std::string& appName, const std::string& also, std::string* args,
                       bool* present, std::string* err);

/// Puts the tool's wrapper first in the game's wrappers, `exe` and `args`;
/// a wrapper of the tool's there already (whatever program it names) is
/// made this one where it stands. *listMade says whether the list of
/// wrappers had to be made. Every other member stays.
bool setHeroicWrapper(std::string* json, const std::string& appName, const std::string& exe, const std::string& args,
                      const std::string& also, bool* listMade, std::string* err);

/// Takes the tool's wrapper out of the game's wrappers, and the list too
/// where it was made for it (`listMade`) and holds nothing else now.
bool removeHeroicWrapper(std::string* json, const std::string& appName, const std::string& also, bool listMade,
                         std::string* err);
