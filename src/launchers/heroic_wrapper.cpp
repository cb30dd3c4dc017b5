#include "launchers/heroic_wrapper.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "launchers/launch_line.h"

namespace {

using Json = nlohmann::ordered_json;

const char* const kWrappers = "wrapperOptions";

// How a JSON file is laid out: its indent (-1: none), and whether a line
// end follows the last brace.
struct Layout {
    int indent = 2;
    char space = ' ';
    bool lineEnd = false;
};

std::string textOf(const Json& json, const Layout& layout) {
    return json.dump(layout.indent, layout.space, false, Json::error_handler_t::replace) + (layout.lineEnd ? "\n" : "");
}

// The settings, parsed, with the game's own and the layout to write them
// back in. False for a text that does not come back byte for byte.
bool parseSettings(const std::string& text, const std::string& appName, Json* json, Layout* layout, std::string* err) {
    *json = Json::parse(text, nullptr, false);
    if (json->is_discarded()) {
        *err = "it is not valid JSON";
        return false;
    }
    if (!json->is_object() || !json->contains(appName) || !(*json)[appName].is_object()) {
        *err = "it holds no settings for the game";
        return false;
    }
    const Json& game = (*json)[appName];
    if (game.contains(kWrappers) && !game[kWrappers].is_array()) {
        *err = "its wrapperOptions is not a list";
        return false;
    }
    for (const Layout candidate :
         {Layout{2, ' ', false}, Layout{2, ' ', true}, Layout{4, ' ', false}, Layout{4, ' ', true},
          Layout{1, '\t', false}, Layout{1, '\t', true}, Layout{-1, ' ', false}, Layout{-1, ' ', true}}) {
        if (textOf(*json, candidate) == text) {
            *layout = candidate;
            return true;
        }
    }
    *err = "it is not laid out as Heroic writes it, and would change beyond the wrapper";
    return false;
}

// The tool's wrapper in the list (`also` as for isToolProgram); its end
// where there is none.
template <typename List> auto toolWrapper(List& wrappers, const std::string& also) {
    return std::find_if(wrappers.begin(), wrappers.end(), [&also](const Json& wrapper) {
        return wrapper.is_object() && wrapper.contains("exe") && wrapper["exe"].is_string() &&
               isToolProgram(wrapper["exe"].get<std::string>(), also);
    });
}

} // namespace

bool readHeroicWrapper(const std::string& text, const std::string& appName, const std::string& also, std::string* args,
                       bool* present, std::string* err) {
    Json json;
    Layout layout;
    if (!parseSettings(text, appName, &json, &layout, err)) {
        return false;
    }
    const Json wrappers = json[appName].value(kWrappers, Json::array());
    const auto wrapper = toolWrapper(wrappers, also);
    *present = wrapper != wrappers.end();
    if (*present) {
        *args =
            wrapper->contains("args") && (*wrapper)["args"].is_string() ? (*wrapper)["args"].get<std::string>() : "";
    }
    return true;
}

bool setHeroicWrapper(std::string* text, const std::string& appName, const std::string& exe, const std::string& args,
                      const std::string& also, bool* listMade, std::string* err) {
    Json json;
    Layout layout;
    if (!parseSettings(*text, appName, &json, &layout, err)) {
        return false;
    }
    Json& game = json[appName];
    *listMade = !game.contains(kWrappers);
    Json& wrappers = game[kWrappers];
    if (*listMade) {
        wrappers = Json::array();
    }
    const auto wrapper = toolWrapper(wrappers, also);
    if (wrapper != wrappers.end()) {
        (*wrapper)["exe"] = exe;
        (*wrapper)["args"] = args;
    } else {
        wrappers.insert(wrappers.begin(), Json{{"exe", exe}, {"args", args}});
    }
    *text = textOf(json, layout);
    return true;
}

bool removeHeroicWrapper(std::string* text, const std::string& appName, const std::string& also, bool listMade,
                         std::string* err) {
    Json json;
    Layout layout;
    if (!parseSettings(*text, appName, &json, &layout, err)) {
        return false;
    }
    Json& game = json[appName];
    if (!game.contains(kWrappers)) {
        return true;
    }
    Json& wrappers = game[kWrappers];
    const auto wrapper = toolWrapper(wrappers, also);
    if (wrapper != wrappers.end()) {
        wrappers.erase(wrapper);
    }
    if (listMade && wrappers.empty()) {
        game.erase(kWrappers);
    }
    *text = textOf(json, layout);
    return true;
}
