#pragma once
// The settings file (*.pff): one complete configuration as an INI file that installations
// on Windows and Linux share.
#include "config/DeviceConfig.h"

#include <stdexcept>
#include <string>

namespace rtw {

// Thrown by SaveSettingsFile; what() is "Unable to write to <full file name>" (CP1252; a
// file name that is not valid UTF-8 shows '?' for what it cannot show).
class SettingsWriteError : public std::runtime_error {
public:
    explicit SettingsWriteError(const std::string& fileName);
};

// Writes the 207 keys into the file, in the table's order. An existing file keeps every
// other line byte for byte. All or nothing: on SettingsWriteError the file on disk is as it
// was. Fails when the file is there but not a regular file, not writable or not readable
// whole (larger than the reading bound), and when its folder cannot take a new file.
void SaveSettingsFile(const DeviceConfig& config, const std::string& fileName);

// Reads the 207 keys and applies each to its field before the next is read, so the lists'
// fill rule and the contact-type coupling act as they do on typing. A missing section or
// key empties its field or clears its choice; a file that cannot be read reads as an empty
// one. Texts are set as stored, unchecked, cut to 2047 bytes.
void OpenSettingsFile(DeviceConfig& config, const std::string& fileName);

} // namespace rtw
