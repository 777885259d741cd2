#pragma once

#include <QString>
#include <QStringList>

namespace tools {

// What the workbook tool, the demo shop and the fuzzers' corpus refuse or fail at. Each takes the
// arguments named after it.
enum class ToolError {
    ProgramRunning,          // folder
    FolderNotWritable,       // folder
    FileExists,              // file as the system writes it, file as typed
    NoSuchCopy,              // archive folder, stamp, shop folder
    ProgramNotStarted,       // program
    ShopAlreadyThere,        // folder, data file
    PictureNotWritten,       // picture
    DeepFormulaNotRead,
    CorpusFileNotWritten,    // file
};

QString errorMessage(ToolError kind, const QStringList& arguments);

} // namespace tools
