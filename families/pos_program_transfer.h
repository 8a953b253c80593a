// Moving the positioning programs of a family-4 drive between the drive and a
// program file (".prg"): the upload of all programs into one file, the
// download of one file, and the file's two forms (plain lines, or scrambled
// behind a header). Both transfers talk to the active device through its
// program transfer parameter, one text value per command or line.
#pragma once

#include <cstddef>
#include <cstdint>

class ParaBase;

// The program transfer parameter of the active device; 0 when it has none.
int& PosProgramParameter();
// Sets PosProgramParameter to 751 when the active device belongs to family 4.
void SelectPosProgramParameter();

// Restores a scrambled program text in place.
void UnscramblePosProgram(uint8_t* buffer, size_t length);

// Reads every program of the active device into the file (".prg" appended
// when the path holds no dot); true when every listed program was read.
bool UploadPosPrograms(const char* path);
// Sends the program file to the active device; true when no message had to
// be shown on the way.
bool DownloadPosProgram(const char* path);

// The boxes of the transfers: main messages shown as error boxes over the
// main window.
class TransferMessenger {
public:
    // The box's answer (true for OK).
    static bool Show(int number);
    // The message text as a format for one text, the number; always false.
    static bool ShowWith(int number, int value);
};
