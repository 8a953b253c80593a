// Texts of the language's message file "TORVAN.MSG" by section and key or by
// message number. Every layer looks its error and status texts up here.
#pragma once

#include "parameters/values/dstring.h"

// Size of the text buffers that the callers of GetMessageText hand over (the
// text and its terminator).
inline constexpr int kMessageTextSize = 512;
// Highest message number that GetMessageString turns into a key.
inline constexpr unsigned kMaxMessageNumber = 99999;

// Sections of the message file.
inline constexpr char kMainMessagesSection[] = "Main-Messages";
inline constexpr char kActivMessagesSection[] = "Activ-Messages";
inline constexpr char kParaBaseMessagesSection[] = "ParaBase-Messages";
inline constexpr char kTitlesSection[] = "Titles";

// Key formats of the numbered sections.
inline constexpr char kMainMessageKeyFormat[] = "MN_%05u";
inline constexpr char kActivMessageKeyFormat[] = "AM_%05u";

// Copies the value of `key` in `section` into `destination` (which holds
// `maxLength` bytes: at most maxLength - 1 characters and the terminator) and
// turns every backslash-n into a blank and a line feed, so the text keeps its
// length. Without a message file, section or value the key itself is copied.
// Returns `destination`; null destination or maxLength < 1 copy nothing.
char* GetMessageText(char* destination, const char* section, const char* key, int maxLength);
// The same lookup under the name the bus layer uses.
char* GetMessageTextFrom(char* destination, const char* section, const char* key, int maxLength);

// Text of message `number` in `section`: the key is the number in five digits,
// prefixed "MN_" in "Main-Messages" and "AM_" in "Activ-Messages". Every
// backslash-n becomes one line feed. A missing key gives the key; a number
// above kMaxMessageNumber gives "Invalid message ID".
dstring GetMessageString(unsigned number, const char* section);
