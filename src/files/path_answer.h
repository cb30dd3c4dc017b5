#pragma once

#include <string>

/// A path as a Linux user types or pastes it, made plain: blanks around it
/// and a closing carriage return go (an escaped blank stays), it is read as
/// one shell word (quoted pieces as they stand, backslashes inside them
/// included; outside them "My\ Games" and "Tom'\''s" undone), a file://
/// URL (bare or quoted whole, its scheme and "localhost" in any case)
/// becomes its path with its %XX escapes decoded, its apostrophes kept,
/// and "~" or "~/..." starts at `home` when that is set. Quotes that do not
/// pair up ('Tom's Game') are taken off the ends only. The result may hold
/// a NUL ("%00"), which names no file. False, with why in *err, for a URL
/// that names no file here: one of another computer, or with a % that
/// starts no escape.
bool pathFromAnswer(const std::string& answer, const std::string& home, std::string* path, std::string* err);
