#pragma once

#include <string>

// An app's launch options in Steam's per-account settings,
// userdata/<account>/config/localconfig.vdf: UserLocalConfigStore,
// Software, Valve, Steam, apps, <app id>, LaunchOptions. Keys match in any
// case, as Steam reads them; every byte but the value's stays as it was.

/// What stood at an app's launch options before the tool set them, to put
/// back exactly.
struct EarlierOptions {
    bool present = false; // the key was there
    std::string token;    // its value as it stood in the file: quotes, escapes
    int blocks = 0;       // how many blocks on the way to it the tool made
};

/// The app's launch options in `vdf`, unescaped, in *options; *present says
/// whether the key is there. False, with the reason, for a text that the
/// tool does not change (see setLaunchOptions).
bool readLaunchOptions(const std::string& vdf, const std::string& appId, std::string* options, bool* present,
                       std::string* err);

/// Sets the app's launch options in *vdf to `options`: the value alone is
/// replaced; a missing key, and the blocks on the way to it, are added in
/// Steam's own layout (tabs, the file's line ends) before the end of the
/// block that should hold them. *earlier says what was there. False, and
/// *vdf as it was, for a text with a NUL, not well-formed, or without the
/// UserLocalConfigStore block, with the reason in *err.
bool setLaunchOptions(std::string* vdf, const std::string& appId, const std::string& options, EarlierOptions* earlier,
                      std::string* err);

/// Puts back what `earlier` says stood there: the value's token as it was,
/// or no key (and none of the blocks that were made for it, while they hold
/// nothing else). Nothing to do when the key is gone already.
bool putBackLaunchOptions(std::string* vdf, const std::string& appId, const EarlierOptions& earlier, std::string* err);
