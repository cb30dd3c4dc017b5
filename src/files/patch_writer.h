#pragma once

#include <cstdint>
#include <string>

#include "ratio/patch_value.h"

/// Overwrites the four bytes at `offset` in the file at `path`, in place.
/// Writes nothing at all unless all four fit inside the file, and returns
/// only once they are on the disk. On failure *err says why the file was
/// left as it was.
bool writePatch(const std::string& path, std::int32_t offset, const PatchValue& value, std::string* err);

/// Reads the four bytes at `offset` in the file at `path`, which is opened
/// for reading only. On failure *err says why, the offset outside the file
/// among the reasons.
bool readPatchBytes(const std::string& path, std::int32_t offset, PatchValue* value, std::string* err);
