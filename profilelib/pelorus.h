// Pelorus: the seven plain C functions through which another program reads
// and writes the system's profile files. One profile is open at a time; the
// library serves one caller thread.
#pragma once

#if defined(__GNUC__)
#define PELORUS_EXPORT __attribute__((visibility("default")))
#else
#define PELORUS_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Closes any open profile, then opens `path` (read when the file exists).
// 1 when a profile was made, which does not mean that the file existed;
// PL_IsValid tells whether the path is usable.
PELORUS_EXPORT int PL_Open(const char* path);
// 1 when a profile is open and valid.
PELORUS_EXPORT int PL_IsValid(void);
// Writes the open profile to the file it was opened from; 1 on success.
PELORUS_EXPORT int PL_Save(void);
// Selects the section, creating it when missing; 1 on success.
PELORUS_EXPORT int PL_SetSection(const char* section);
// Sets key = value in the current section, creating the key; 1 on success.
PELORUS_EXPORT int PL_SetValue(const char* key, const char* value);
// The key's value in the current section; "" when it or the profile is
// missing, never null. The text stays valid until the profile changes or
// closes.
PELORUS_EXPORT const char* PL_Value(const char* key);
// Frees the open profile without saving it; harmless when none is open.
PELORUS_EXPORT void PL_Close(void);

#ifdef __cplusplus
}
#endif
