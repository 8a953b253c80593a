// The English log texts of the serial bus's error codes, written to the
// program log with every failed telegram. The user sees the texts of the
// message file instead.
#pragma once

// Text of codes 0..30; "Unknown error" for any other.
const char* TarnErrorLogText(int code);
