// Directory scans: the entries of one directory matching a mask, one at a time. Unlike the active
// search of fs.h a scan is an object of its own, so recursive walkers can nest them.
//
// Portable header: dirscan_win32.cpp over the system's find functions, dirscan_posix.cpp for native
// builds, which read a backslash in the directory as a separator and match masks as Windows does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lib/strnum.h"

// Entry attributes: the system's file attribute bits (native builds derive them from the entry's type).
constexpr uint32_t AttrReadOnly = 0x01;
constexpr uint32_t AttrHidden = 0x02;
constexpr uint32_t AttrSystem = 0x04;
constexpr uint32_t AttrVolume = 0x08;
constexpr uint32_t AttrDirectory = 0x10;
constexpr uint32_t AttrArchive = 0x20;
constexpr uint32_t AttrReparse = 0x400; // a junction or symbolic link

// The entries matching JoinFile(dir, mask), in the order the file system gives them. As with the classic
// attribute request, an entry that carries the hidden, system, volume or directory attribute is passed
// over unless the request names it. A pattern that did not fit the name buffer yields nothing.
class DirScan {
  public:
    DirScan(std::string_view dir, std::string_view mask, uint32_t requested);
    ~DirScan();
    DirScan(const DirScan&) = delete;
    DirScan& operator=(const DirScan&) = delete;

    bool Next(); // moves to the next admitted entry; false at the end
    const char* Name() const { return name_.c; }
    uint32_t Attributes() const { return attributes_; }
    bool IsDir() const { return (attributes_ & AttrDirectory) != 0; }

  private:
    bool Admitted() const {
        return (attributes_ & ~requested_ & (AttrHidden | AttrSystem | AttrVolume | AttrDirectory)) == 0;
    }
    std::string dir_, mask_;
    uint32_t requested_;
    intptr_t handle_ = 0; // the system's search handle or directory stream, 0 before the first Next
    bool ended_ = false;
    TextBuf<259> name_;
    uint32_t attributes_ = 0;
};
