#pragma once

#include "format/SubtitleFormat.h"

#include "document/TextFileFormat.h"

#include <QString>

#include <optional>

class OpenDocument;
class RecentFiles;

// Saving one open document with the questions that may come with it: whether to save
// before closing, whether to write over a file another program changed, what to do with
// a character the encoding lacks; and taking in what another program wrote to the file.
// Made for one question or save at a time, from the document's record.
class DocumentSaver
{
public:
    DocumentSaver(OpenDocument &open, RecentFiles &recentFiles);

    // Asks about unsaved changes; true when the document may close (saved or given up).
    bool askToSaveBeforeClosing();
    // Asks before writing over changes another program made to the file.
    bool save();
    bool saveAs();
    // Replaces the list with the file's content as one undoable step.
    void reloadFromDisk();
    // Another program changed the file: offers its version, which can be undone.
    void askAboutChangeOnDisk();

private:
    bool write(const QString &path, std::optional<int> chosenEncoding,
               std::optional<TextFileFormat> chosenFormat = std::nullopt,
               std::optional<SubtitleFormat::Id> chosenSubtitleFormat = std::nullopt);
    // Before the document is written in another subtitle format: what that leaves out,
    // and whether the user still wants it. True when nothing is lost.
    bool acceptLosses(const QString &path, SubtitleFormat::Id subtitleFormat);

    OpenDocument &m_open;
    RecentFiles &m_recentFiles;
};
