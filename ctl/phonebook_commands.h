// phonebook get|put|export|import: the phonebook between the device, .PBF files and the
// CSV, vCard and JSON formats.
#pragma once

#include "ctl/command_line.h"
#include "ctl/ctl_io.h"

namespace vornik::ctl {

// Reads the device's phonebook into the .PBF file `request.path`.
int RunPhonebookGet(const CtlRequest& request, CtlIo& io);

// Sends the .PBF file `request.path` to the device. A file whose header is not a
// phonebook's, or that is shorter than a whole phonebook, is refused before the device is
// touched. The device's phonebook is read and kept in a backup .PBF first (`--backup`, or
// a new file phonebook-backup-YYYYMMDD-HHMMSS.pbf in the current folder); nothing is sent
// unless the backup was written.
int RunPhonebookPut(const CtlRequest& request, CtlIo& io);

// Writes the phonebook of the device (or of the .PBF `--file`) as CSV, vCard or JSON, to
// stdout or to `-o`.
int RunPhonebookExport(const CtlRequest& request, CtlIo& io);

// Replaces the phonebook of the device (or of the .PBF `--file`) with the rows of a CSV or
// vCard file. Every row refused is reported on stderr as FILE:LINE: reason; then nothing is
// written unless --skip-bad is given. The device's phonebook is kept in a backup first,
// as by put.
int RunPhonebookImport(const CtlRequest& request, CtlIo& io);

}  // namespace vornik::ctl
