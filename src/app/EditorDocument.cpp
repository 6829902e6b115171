// EditorDocument: one undo step per change, holding the states before and after.
#include "app/EditorDocument.h"

#include <algorithm>
#include <vector>

#include "app/TextCodec.h"
#include "object/ObjectFile.h"
#include "preview/PreviewIcons.h"

namespace trellisor {

// A step: the document's state before and after one change. Pushing it does not
// apply it again (the change is already made); undo and redo restore a state.
class EditorCommand : public QUndoCommand {
public:
    // mergeRow >= 0: a text typed into that row, merged with the next typing there.
    EditorCommand(EditorDocument& document, const QString& name, EditorState before, EditorState after,
                  int mergeRow)
        : QUndoCommand(name),
          m_document(document),
          m_before(std::move(before)),
          m_after(std::move(after)),
          m_mergeRow(mergeRow) {}

    void undo() override { m_document.restore(m_before); }
    void redo() override {
        if (m_applied) {
            m_applied = false;
            return;
        }
        m_document.restore(m_after);
    }
    int id() const override { return m_mergeRow < 0 ? -1 : kTypingId + m_mergeRow; }
    bool mergeWith(const QUndoCommand* other) override {
        m_after = static_cast<const EditorCommand*>(other)->m_after;
        // Typed back to where it started: the step goes.
        setObsolete(m_after.texts == m_before.texts && m_after.object == m_before.object);
        return true;
    }

    // Each object copy is counted by the step that made it.
    std::uint64_t bytes() const {
        std::uint64_t total = sizeof(*this);
        if (m_after.object != m_before.object) total += m_after.object->memoryBytes();
        for (const QString& text : m_after.texts) total += std::uint64_t(text.size()) * 2 * sizeof(QChar);
        return total;
    }

    const EditorState& before() const { return m_before; }
    const EditorState& after() const { return m_after; }

private:
    static constexpr int kTypingId = 1000;
    EditorDocument& m_document;
    EditorState m_before;
    EditorState m_after;
    int m_mergeRow;
    bool m_applied = true;
};

EditorDocument::EditorDocument(HistoryLimits limits, QObject* parent)
    : QObject(parent), m_limits(limits), m_history(this) {
    m_history.setUndoLimit(std::max(1, limits.steps));
    connect(&m_history, &QUndoStack::cleanChanged, this, &EditorDocument::titleChanged);
}

// The history says nothing while it goes: the views listening may be going too.
EditorDocument::~EditorDocument() {
    m_history.blockSignals(true);
    blockSignals(true);
}

EditorState EditorDocument::currentState() {
    // The object may have changed outside an edit (Save brings it into its saved
    // form): a new copy then, else the last one is shared.
    if (!m_snapshot || !(*m_snapshot == m_object))
        m_snapshot = std::make_shared<const PathObject>(m_object.clone());
    return EditorState{m_snapshot, m_brightness, m_texts};
}

void EditorDocument::restore(const EditorState& state) {
    m_object = state.object->clone();
    m_snapshot = state.object;
    m_brightness = state.brightness;
    m_texts = state.texts;
    emit stateReplaced();
}

Status EditorDocument::change(const QString& name, const Edit& edit) {
    PathObject work = m_object.clone();
    BrightnessCounters counters = m_brightness;
    Status edited = edit(work, counters);
    if (!edited) return edited;
    // The icons are part of what is shown and saved: generated ones follow the sprites in every
    // state, hand-drawn ones are kept.
    followIcons(m_object, work);
    if (work == m_object && counters == m_brightness) return Status::ok();
    EditorState before = currentState();
    m_object = std::move(work);
    m_brightness = counters;
    push(name, std::move(before), currentState(), -1);
    emit stateReplaced();
    return Status::ok();
}

Status EditorDocument::change(const QString& name, const ObjectEdit& edit) {
    return change(name, [&edit](PathObject& object, BrightnessCounters&) { return edit(object); });
}

void EditorDocument::setText(int row, const QString& text) {
    if (row < 0 || row >= kLanguageCount || m_texts[std::size_t(row)] == text) return;
    EditorState before = currentState();
    m_texts[std::size_t(row)] = text;
    const QString name =
        QStringLiteral("Edit %1 Text").arg(QString::fromLatin1(kLanguageNames[std::size_t(row)]));
    push(name, std::move(before), currentState(), row);
}

void EditorDocument::setTexts(const QString& name, const DocumentTexts& texts) {
    if (texts == m_texts) return;
    EditorState before = currentState();
    m_texts = texts;
    push(name, std::move(before), currentState(), -1);
    emit stateReplaced();
}

void EditorDocument::push(const QString& name, EditorState before, EditorState after, int mergeRow) {
    m_history.push(new EditorCommand(*this, name, std::move(before), std::move(after), mergeRow));
    if (historyBytes() > m_limits.bytes) dropOldestSteps();
}

std::uint64_t EditorDocument::historyBytes() const {
    std::uint64_t total = 0;
    for (int i = 0; i < m_history.count(); ++i)
        total += static_cast<const EditorCommand*>(m_history.command(i))->bytes();
    return total;
}

// QUndoStack drops old steps only by count; for the byte bound the history is
// rebuilt from its newest steps (right after a push, so none is waiting for redo).
void EditorDocument::dropOldestSteps() {
    struct Step {
        QString name;
        EditorState before, after;
    };
    const int count = m_history.count();
    std::uint64_t total = historyBytes();
    int drop = 0;
    while (drop < count - 1 && total > m_limits.bytes)
        total -= static_cast<const EditorCommand*>(m_history.command(drop++))->bytes();
    std::vector<Step> kept;
    for (int i = drop; i < count; ++i) {
        auto* step = static_cast<const EditorCommand*>(m_history.command(i));
        kept.push_back({step->text(), step->before(), step->after()});
    }
    const int clean = m_history.cleanIndex() - drop;  // where the saved state now stands
    m_history.clear();
    if (clean < 0) m_history.resetClean();  // the saved state has left the history
    for (std::size_t i = 0; i < kept.size(); ++i) {
        m_history.push(new EditorCommand(*this, kept[i].name, kept[i].before, kept[i].after, -1));
        if (int(i) + 1 == clean) m_history.setClean();
    }
}

// A fresh object starts fresh: its pages' brightness counters at 0 (the previous object's
// steps say nothing about it), and no history.
void EditorDocument::replaceAll(PathObject object, const DocumentTexts& texts) {
    m_history.clear();
    m_object = std::move(object);
    m_brightness.fill(0);
    m_texts = texts;
    m_snapshot.reset();
    m_saved = currentState().object;
}

void EditorDocument::open(PathObject object, const QString& path, const QString& fileName) {
    DocumentTexts texts;
    const auto stored = objectStrings(object);
    for (int i = 0; i < kLanguageCount; ++i) texts[std::size_t(i)] = fromWindows1252(stored[std::size_t(i)]);
    // The icons are kept as the file holds them, hand-drawn or not.
    replaceAll(std::move(object), texts);
    // Clean whatever came before: clear() on an empty history (after New) keeps New's never-saved mark.
    m_history.setClean();
    m_filePath = path;
    m_fileName = fileName;
    emit stateReplaced();
    emit titleChanged();
}

void EditorDocument::startNew(PathObject object, const QString& fileName, const QString& text) {
    DocumentTexts texts;
    texts.fill(text);
    composePreviewIcons(object);  // New's icons hold nothing yet
    replaceAll(std::move(object), texts);
    m_history.resetClean();  // never saved
    m_filePath.clear();
    m_fileName = fileName;
    emit stateReplaced();
    emit titleChanged();
}

Status EditorDocument::save(const QString& path, const QString& fileName) {
    std::array<std::string, kLanguageCount> bytes;
    for (int i = 0; i < kLanguageCount; ++i)
        bytes[std::size_t(i)] = toWindows1252(m_texts[std::size_t(i)]).bytes;
    Status saved = saveObjectFile(m_object, localPath(path), toWindows1252(fileName).bytes, bytes);
    if (!saved) return saved;
    m_filePath = path;
    m_fileName = fileName;
    m_saved = currentState().object;
    m_history.setClean();
    emit titleChanged();
    return saved;
}

std::optional<std::pair<int, QString>> EditorDocument::unencodableText() const {
    for (int i = 0; i < kLanguageCount; ++i) {
        const Windows1252Text text = toWindows1252(m_texts[std::size_t(i)]);
        if (!text.complete()) return std::make_pair(i, QString::fromStdString(text.unencodable));
    }
    return std::nullopt;
}

QString EditorDocument::iconsNote() const { return QString::fromStdString(handDrawnIconsNote(m_object)); }

bool EditorDocument::isModified() const { return m_object.isLoaded() && !m_history.isClean(); }

}  // namespace trellisor
