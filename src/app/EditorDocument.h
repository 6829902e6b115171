// The editor's document: what Save writes and Undo restores — the path object,
// the page brightness counters and the twelve texts (the "Draw Paths over
// Supports" state is the object's flag bit) — plus the file name and whether
// it has changed since it was loaded or saved. Every change goes through here
// and becomes one step of a bounded undo history.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "base/Result.h"
#include "object/PathObject.h"

namespace trellisor {

using BrightnessCounters = std::array<int, kPageCount>;
using DocumentTexts = std::array<QString, kLanguageCount>;

// One state of the document. Object copies are shared between the steps that
// hold the same state, so each state is kept once.
struct EditorState {
    std::shared_ptr<const PathObject> object;
    BrightnessCounters brightness{};
    DocumentTexts texts;
};

// The history keeps at most this many steps and bytes of object copies; the
// oldest steps go first.
struct HistoryLimits {
    int steps = 100;
    std::uint64_t bytes = 256ull * 1024 * 1024;
};

class EditorDocument : public QObject {
    Q_OBJECT
public:
    using Edit = std::function<Status(PathObject& object, BrightnessCounters& brightness)>;
    using ObjectEdit = std::function<Status(PathObject& object)>;

    explicit EditorDocument(HistoryLimits limits = {}, QObject* parent = nullptr);
    ~EditorDocument() override;

    // The state as it stands. Read freely; change it only through the functions below.
    PathObject m_object;
    BrightnessCounters m_brightness{};
    const DocumentTexts& texts() const { return m_texts; }

    // Applies an edit as one undo step called name. The edit works on a copy of the
    // object and counters, which replaces them only when it succeeds; a failure
    // changes nothing and is returned, and an edit that changes nothing adds no step.
    Status change(const QString& name, const Edit& edit);
    Status change(const QString& name, const ObjectEdit& edit);
    // A text typed into a row; steps of the same row typed one after another merge.
    void setText(int row, const QString& text);
    // All twelve texts at once, as one step.
    void setTexts(const QString& name, const DocumentTexts& texts);

    // A loaded object as read (icons included): texts from its string table, brightness
    // counters at 0, history cleared, not modified.
    void open(PathObject object, const QString& path, const QString& fileName);
    // A new object with every text set to text and its icons composed: brightness counters at
    // 0, history cleared, modified, unnamed.
    void startNew(PathObject object, const QString& fileName, const QString& text);
    // Writes the object as Save does; on success the document takes the file's
    // name and is no longer modified. A failure changes nothing and gives the
    // system's reason.
    Status save(const QString& path, const QString& fileName);

    // The first row whose text Windows-1252 cannot hold, with those characters.
    std::optional<std::pair<int, QString>> unencodableText() const;

    // "icons: hand-drawn, kept" while an icon is hand-drawn (preview/PreviewIcons.h), else "".
    QString iconsNote() const;

    // The object as it was last loaded, saved or made by New (the Viewer's "before").
    const PathObject& savedObject() const { return *m_saved; }

    const QString& fileName() const { return m_fileName; }  // empty before the first Load or New
    const QString& filePath() const { return m_filePath; }  // empty until loaded or saved
    // Changed since loaded or saved (only a loaded object counts).
    bool isModified() const;
    QUndoStack& history() { return m_history; }
    // The bytes the history's steps hold.
    std::uint64_t historyBytes() const;

signals:
    // The object, counters or texts were replaced (an edit, undo, redo, Load, New):
    // every view follows.
    void stateReplaced();
    // The modified mark or the file name changed: the title follows.
    void titleChanged();

private:
    friend class EditorCommand;
    EditorState currentState();
    void restore(const EditorState& state);
    void push(const QString& name, EditorState before, EditorState after, int mergeRow);
    void dropOldestSteps();
    void replaceAll(PathObject object, const DocumentTexts& texts);

    HistoryLimits m_limits;
    DocumentTexts m_texts;
    QString m_fileName;
    QString m_filePath;
    // A copy of m_object as it stood last, shared with the history.
    std::shared_ptr<const PathObject> m_snapshot;
    // A copy as it was last loaded, saved or made by New.
    std::shared_ptr<const PathObject> m_saved = std::make_shared<const PathObject>();
    QUndoStack m_history;
};

}  // namespace trellisor
