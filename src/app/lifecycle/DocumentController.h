#pragma once

#include "app/lifecycle/RecentFiles.h"
#include "app/lifecycle/RecoveryStore.h"
#include "format/TolerantSubtitleReader.h"

#include <QList>
#include <QObject>
#include <QSet>

#include <memory>
#include <optional>
#include <vector>

class Document;
class DocumentWindow;
class FileIdentity;
class OpenDocument;
class QWidget;

// The application's documents: creating, opening, saving and closing them with the
// questions a desktop editor asks, the recent files, the session that the next start
// reopens, and the recovery of work a crash left unsaved. It owns every open document
// with its window and services; closing a window, quitting and a termination signal all
// end a document the same way, here.
class DocumentController : public QObject
{
    Q_OBJECT

public:
    // Seeds the settings from the built-in defaults once per new build number.
    explicit DocumentController(QObject *parent = nullptr);
    // Closes what is still open, keeping or discarding its recovery entry as decided before.
    ~DocumentController() override;

    // The open documents, oldest first.
    QList<Document *> documents() const;
    // The window that shows the document; nullptr when the document is not open here.
    DocumentWindow *windowOf(const Document *document) const;
    RecentFiles &recentFiles() { return m_recentFiles; }

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
    // Asks about unsaved changes, then closes the document and its window; false when
    // the user cancelled. A document closing already may close.
    bool closeDocument(Document *document);
    // Closes every document, asking about unsaved changes, and ends the event loop;
    // false when the user cancelled.
    bool quit();
    // The process is being ended (a logout, a terminal closed): writes every pending
    // autosave and keeps the unsaved work for the next start, whatever happens next.
    // The documents close when the controller goes, once the event loops have returned.
    void keepUnsavedWork();

    // Reopens what was open when the program last quit; false when nothing was.
    bool restoreSession();
    // Offers the work a crash left unsaved; true when something was recovered. Opening a
    // file offers the work left on it first.
    bool offerRecovery(QWidget *parent = nullptr);

    // For documents opened from now on: how long a change on disk settles before it is
    // looked at, and how long its question, put off by another one, waits to look again.
    void setChangeOnDiskDelays(int settleMilliseconds, int putOffMilliseconds);

private:
    OpenDocument &adopt(std::unique_ptr<Document> document);
    // The record of an open document; nullptr for one closed or closing.
    OpenDocument *find(const Document *document) const;
    // Out of the open documents at once, hidden; destroyed once the event that closed it
    // is handled, since that may be its own window's.
    void retire(OpenDocument &open);
    void destroyRetired();
    // The open document of this file, reached by whatever path.
    OpenDocument *openForFile(const QString &path, const FileIdentity &identity) const;
    void askAboutChangeOnDisk(Document *document);
    void saveSession();
    // Reads the document's file again in `encoding`, offering to repair it, and starts
    // its undo history afresh; false when it could not be read (the document is unchanged).
    bool reread(OpenDocument &open, int encoding);
    // The unsaved work a crash left on this file, offered; the document recovered, or nullptr.
    Document *offerRecoveryOf(const QString &path, const FileIdentity &identity, QWidget *parent);
    // Asks what becomes of the entries; the documents recovered. Those put off are offered
    // again at the next start, or when their file is opened.
    QList<Document *> decideAbout(const QList<RecoveryStore::Entry> &entries, QWidget *parent);
    Document *recover(const RecoveryStore::Entry &entry, QWidget *parent);
    // Marks a repaired document modified and lists its repairs (the first ones, then how
    // many more there were).
    static void showRepairs(OpenDocument &open, const QList<TolerantSubtitleReader::Repair> &repairs,
                            qsizetype unlistedRepairs = 0);

    RecentFiles m_recentFiles;
    std::vector<std::unique_ptr<OpenDocument>> m_open;
    std::vector<std::unique_ptr<OpenDocument>> m_retired;
    int m_untitledCount = 0;
    QSet<QString> m_deferredRecovery;
    bool m_restoringSession = false;
    std::optional<int> m_changeSettleMilliseconds;
    int m_questionPutOffMilliseconds = 500;
};
