#pragma once

#include <string>

/// A path as a Linux user types or pastes it, made plain: blanks around it
/// and a closing carriage return go (an escaped blank stays), it is read as
/// one shell word (quoted pieces as they stand, backslashes inside them
/// included; outside them "My\ Games" and "Tom'\''s" undone), a file:// URI
/// becomes its path with its %XX escapes decoded, and "~" or "~/..." starts
/// at `home` when that is set. Quotes that do not pair up ('Tom's Game')
/// are taken off the ends only.
std::string pathFromAnswer(const std::string& answer, const std::string& home);
