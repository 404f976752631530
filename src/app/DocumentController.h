#pragma once

#include "document/TextFileFormat.h"
#include "format/TolerantSubtitleReader.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Document;
class DocumentWindow;
class FileIdentity;
class QWidget;

// The application's documents: creating, opening, saving and closing them with the
// questions a desktop editor asks, the recent files, the session that the next start
// reopens, and the recovery of work a crash left unsaved.
class DocumentController : public QObject
{
    Q_OBJECT

public:
    // Seeds the settings from the built-in defaults once per new build number.
    explicit DocumentController(QObject *parent = nullptr);
    ~DocumentController() override;

    static DocumentController *shared();

    const QList<Document *> &documents() const { return m_documents; }
    // The window that shows the document (and owns it); nullptr before it has one.
    static DocumentWindow *windowOf(const Document *document);

    // A new untitled document with its one starting subtitle, shown in its window.
    Document *newDocument();
    // Opens the file in a new window, or brings its window forward when it is open
    // already. Reads it in `encoding` (Automatic detects it). When it cannot be read,
    // shows why (offering to repair a malformed file) and returns nullptr.
    Document *openDocument(const QString &path, QWidget *alertParent = nullptr, int encoding = 0);
    // Reads the document's file again in another encoding, asking first when that
    // discards changes.
    void reopenWithEncoding(Document *document, int encoding);
    void showOpenDialog(QWidget *parent);

    // Asks before writing over changes another program made to the file.
    bool save(Document *document);
    bool saveAs(Document *document);
    void revertToSaved(Document *document);
    // Replaces the list with the file's content as one undoable step.
    void reloadFromDisk(Document *document);
    // Asks about unsaved changes; true when the document may close.
    bool canClose(Document *document);
    void documentClosed(Document *document);
    // Closes every window, asking about unsaved changes; false when the user cancelled.
    bool quit();
    bool isQuitting() const { return m_quitting; }
    // The process is being ended (a logout, a terminal closed): writes every pending
    // autosave and keeps the unsaved work for the next start, whatever happens next.
    // The windows close when the controller goes, once the event loops have returned.
    void keepUnsavedWork();

    QStringList recentFiles() const;
    void clearRecentFiles();

    // Reopens what was open when the program last quit; false when nothing was.
    bool restoreSession();
    // Offers the work a crash left unsaved; true when something was recovered.
    bool offerRecovery(QWidget *parent = nullptr);

signals:
    void recentFilesChanged();

private:
    Document *adoptDocument(Document *document);
    // Its window first, so that no pane outlives the document it shows.
    void deleteDocument(Document *document);
    // The open document of this file, reached by whatever path.
    Document *documentForFile(const QString &path, const FileIdentity &identity) const;
    void askAboutChangeOnDisk(Document *document);
    void noteRecentFile(const QString &path);
    void saveSession();
    void closeAllDocuments();
    bool writeDocument(Document *document, const QString &path, std::optional<int> chosenEncoding,
                       std::optional<TextFileFormat> chosenFormat = std::nullopt);
    // Reads the document's file again in `encoding`, offering to repair it, and starts
    // its undo history afresh; false when it could not be read (the document is unchanged).
    bool reread(Document *document, int encoding);
    // Marks a repaired document modified and lists its repairs (the first ones, then how
    // many more there were).
    void showRepairs(Document *document, const QList<TolerantSubtitleReader::Repair> &repairs,
                     qsizetype unlistedRepairs = 0);

    QList<Document *> m_documents;
    int m_untitledCount = 0;
    bool m_quitting = false;
};
