// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Extraction of ZIP archives (on libzip) with the contract the updater relies on: one call
// with name patterns, an exclusion list, an option record and callbacks, answering with a
// numeric result code (0 success) that PopisChybyRozbaleni turns into Czech text.
namespace Unzip {

// Result codes.
enum : int {
    PK_OK = 0,
    PK_WARN = 1,     // warnings on one or more files
    PK_ERR = 2,      // errors on one or more files (also an entry that would leave the folder)
    PK_BADERR = 3,   // the archive is damaged or is no archive
    PK_MEM = 4,      // 4 to 8: out of memory
    PK_NOZIP = 9,    // the archive does not exist
    PK_PARAM = 10,   // bad or missing parameters
    PK_FIND = 11,    // no entry matched the patterns
    PK_DISK = 50,    // the disk is full
    PK_EOF = 51,     // unexpected end of an entry's data
    PK_VELKY = 52,   // an entry is larger than the largest file allowed (nejvetsiSoubor)
    IZ_CTRLC = 80,   // cancelled by the service callback
    IZ_UNSUP = 81,   // no file extracted: unsupported compression or encryption
    IZ_BADPWD = 82,  // no file extracted: bad or missing password
};

// Answers of the replace callback.
enum : int {
    IDM_REPLACE_NO = 100,
    IDM_REPLACE_YES = 102,
    IDM_REPLACE_ALL = 103,
    IDM_REPLACE_NONE = 104,
};

// The option record, in the order and with the meaning of the classic library's fields.
// Listing, testing, freshening, comments, end-of-line translation and access-control
// restoring are not offered; their fields are kept so that callers state what they want.
struct TDCL {
    int ExtractOnlyNewer = 0;   // extract only entries newer than existing files
    int SpaceToUnderscore = 0;  // turn blanks in names into underscores
    int PromptToOverwrite = 0;  // ask the replace callback before overwriting
    int fQuiet = 0;             // 0: all messages to the print callback, 2: none
    int ncflag = 0;
    int ntflag = 0;
    int nvflag = 0;
    int nfflag = 0;
    int nzflag = 0;
    int ndflag = 0;  // restore the folders stored in the archive (else extract flat)
    int noflag = 0;  // overwrite all existing files
    int naflag = 0;
    int nZIflag = 0;
    int C_flag = 0;  // match names without regard to case
    int fPrivilege = 0;
    QString lpszZipFN;       // the archive
    QString lpszExtractDir;  // where to extract
    // Only entries stored with an executable permission bit count as matching: the rule for
    // program files on a platform whose programs carry no ".exe".
    bool jenSpustitelne = false;
    // The largest entry, in bytes, that is unpacked (0: any size).
    qint64 nejvetsiSoubor = 0;
};

// The callbacks. Any of them may stay empty.
struct TUserFunctions {
    std::function<int(const QString& text)> print;                       // returns the length taken
    std::function<int(const QString& soubor)> replace;                   // IDM_REPLACE_*
    std::function<int(QString* heslo, const QString& soubor)> password;  // 0: password given
    std::function<int(const QString& soubor, qint64 velikost)> ServCallBk;  // non-zero cancels
};

// Extracts the entries matching any of the patterns ("*" any run of characters including
// folder separators, "?" one character; "*.*" matches every name) and none of the
// exclusions. An entry with an absolute name, a drive letter, a ".." step or a symbolic link
// makes the whole call fail with PK_ERR before anything is written; so does an entry larger
// than nejvetsiSoubor (PK_VELKY) and entries that together need more than the free space of
// the target's disk (PK_DISK). An entry whose data runs past the size it states is cut off
// there and fails (PK_ERR), so the stated sizes are what is written at most.
int Wiz_SingleEntryUnzip(const QStringList& vzory, const QStringList& vyjimky, const TDCL& volby,
                         const TUserFunctions& funkce);

// Does the name match the pattern by the rules above?
bool odpovidaVzoru(const QString& jmeno, const QString& vzor, bool bezOhleduNaVelikost);

}  // namespace Unzip

// The Czech text of a result code.
QString PopisChybyRozbaleni(int kod);
