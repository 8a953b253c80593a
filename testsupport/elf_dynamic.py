"""Reads what the checks over the build's files need from an ELF file's
dynamic section, in the process and without a tool per file: the libraries it
needs (DT_NEEDED) and the symbols it defines (.dynsym). Running ldd or nm on
every executable and library of a sanitizer build took over a minute on a
small machine; reading the tables directly takes a second or two.
"""
import struct

_SHT_DYNSYM = 11
_SHT_DYNAMIC = 6
_DT_NULL = 0
_DT_NEEDED = 1
_STB_GLOBAL = 1
_SHN_UNDEF = 0
_SHN_LORESERVE = 0xFF00


def is_elf(path):
    try:
        with open(path, "rb") as f:
            return f.read(4) == b"\x7fELF"
    except OSError:
        return False


class ElfFile:
    """The dynamic tables of one ELF file (32 or 64 bits, either byte order)."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self._data = f.read()
        data = self._data
        if data[:4] != b"\x7fELF":
            raise ValueError(f"{path}: not an ELF file")
        self._wide = data[4] == 2
        self._order = "<" if data[5] == 1 else ">"
        if self._wide:
            shoff, = struct.unpack_from(self._order + "Q", data, 0x28)
            shentsize, shnum = struct.unpack_from(self._order + "HH", data, 0x3A)
        else:
            shoff, = struct.unpack_from(self._order + "I", data, 0x20)
            shentsize, shnum = struct.unpack_from(self._order + "HH", data, 0x2E)
        self._sections = [self._section(shoff + i * shentsize) for i in range(shnum)]

    def _section(self, offset):
        if self._wide:
            _, kind, _, _, off, size, link, _, _, entsize = struct.unpack_from(
                self._order + "IIQQQQIIQQ", self._data, offset)
        else:
            _, kind, _, _, off, size, link, _, _, entsize = struct.unpack_from(
                self._order + "IIIIIIIIII", self._data, offset)
        return kind, off, size, link, entsize

    def _string(self, table, index):
        _, off, size, _, _ = self._sections[table]
        start = off + index
        end = self._data.index(b"\0", start, off + size)
        return self._data[start:end].decode("utf-8", "replace")

    def needed(self):
        """The names the file lists as needed libraries, in order."""
        names = []
        for kind, off, size, link, entsize in self._sections:
            if kind != _SHT_DYNAMIC or entsize == 0:
                continue
            form = self._order + ("qQ" if self._wide else "iI")
            for pos in range(off, off + size, entsize):
                tag, value = struct.unpack_from(form, self._data, pos)
                if tag == _DT_NULL:
                    break
                if tag == _DT_NEEDED:
                    names.append(self._string(link, value))
        return names

    def strong_symbols(self):
        """Names of the global (not weak) symbols the file defines."""
        symbols = set()
        for kind, off, size, link, entsize in self._sections:
            if kind != _SHT_DYNSYM or entsize == 0:
                continue
            for pos in range(off, off + size, entsize):
                if self._wide:
                    name, info, _, shndx = struct.unpack_from(self._order + "IBBH", self._data, pos)
                else:
                    name, = struct.unpack_from(self._order + "I", self._data, pos)
                    info, _, shndx = struct.unpack_from(self._order + "BBH", self._data, pos + 12)
                if name == 0 or shndx == _SHN_UNDEF or shndx >= _SHN_LORESERVE:
                    continue
                if (info >> 4) != _STB_GLOBAL:
                    continue
                symbols.add(self._string(link, name))
        return symbols
