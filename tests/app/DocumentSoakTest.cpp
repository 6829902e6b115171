// A random walk through the editor's commands (a fixed seed; TRELLISOR_SOAK_SEED replays
// another). Beside the editor runs a model of its history: every state the steps can reach,
// where the document stands among them and which one is saved. After every step the document
// must hold the state the model says, with the modified mark and the title that go with it;
// walks down and up the whole history restore every state to the byte; every saved file holds
// the document's bytes and loads back as the object saved. A failure names the seed and lists the
// steps taken.
#include <QImage>
#include <cstdlib>
#include <functional>
#include <random>

#include "EditorFixture.h"
#include "imageio/SpriteFolder.h"
#include "object/TypeFile.h"
#include "support/ImageFileBuilders.h"

namespace trellisor::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class DocumentSoak : public EditorFixture {
protected:
    struct State {
        Bytes bytes;
        BrightnessCounters brightness{};
        int typedRow = -1;  // the step that led here typed in this row
    };

    State current(int typedRow = -1) { return {savedBytes(), m_dialog->m_brightness, typedRow}; }
    static bool same(const State& a, const State& b) {
        return a.bytes == b.bytes && a.brightness == b.brightness;
    }
    State& now() { return m_states[std::size_t(m_at)]; }
    EditorDocument& document() { return m_dialog->m_document; }
    QUndoStack& history() { return document().history(); }

    // Load or New: one state, saved or not.
    void restart(bool saved) {
        m_states = {current()};
        m_at = 0;
        m_saved = saved ? 0 : -1;
    }

    // A command that may have changed the document ran: a change is a new step after the
    // current one, or merges into it when typed in the same row (not from the saved state).
    void edited(int typedRow = -1) {
        State after = current(typedRow);
        if (same(after, now())) return;
        m_states.resize(std::size_t(m_at) + 1);
        if (m_saved > m_at) m_saved = -1;  // the saved state was waiting for redo
        const bool merges = typedRow >= 0 && m_at > 0 && m_at != m_saved && now().typedRow == typedRow;
        if (merges) {
            now() = std::move(after);
            if (same(now(), m_states[std::size_t(m_at) - 1])) {
                m_states.pop_back();  // typed back to where the step started
                --m_at;
            }
            return;
        }
        m_states.push_back(std::move(after));
        ++m_at;
        if (int(m_states.size()) > HistoryLimits{}.steps + 1) {  // the oldest step goes
            m_states.erase(m_states.begin());
            --m_at;
            m_saved = m_saved < 1 ? -1 : m_saved - 1;
        }
    }

    void expectPromises() {
        MainDialog& d = *m_dialog;
        EXPECT_TRUE(same(current(), now())) << "the object, texts or brightness";
        EXPECT_EQ(std::pair(history().count(), history().index()), std::pair(int(m_states.size()) - 1, m_at))
            << "steps held and the current one";
        const bool modified = m_at != m_saved;
        EXPECT_EQ(document().isModified(), modified);
        EXPECT_TRUE(modified || savedBytes() == m_savedBytes) << "unmodified, yet not as last saved";
        EXPECT_EQ(d.windowTitle().toStdString(),
                  ("Visual Trellisor - " + document().fileName() + (modified ? "*" : "")).toStdString());
        EXPECT_EQ(d.m_stringTablePage->texts(), document().texts());
        EXPECT_EQ(d.m_drawOverSupportsCheck->isChecked(), d.m_object.drawsPathsOverSupports());
        const int page = d.m_currentPage;
        EXPECT_TRUE(!isSpritePage(page) || text(1010) == QString::number(d.m_brightness[std::size_t(page)]))
            << "the brightness box";
    }

    void undo() {
        history().undo();
        --m_at;
    }
    void redo() {
        history().redo();
        ++m_at;
    }

    // Down to the oldest state and up to the newest, every state checked; then back.
    void walkHistory() {
        const int start = m_at;
        while (history().canUndo()) {
            undo();
            expectPromises();
        }
        while (history().canRedo()) {
            redo();
            expectPromises();
        }
        while (m_at > start) undo();
    }

    void save(const QString& name) {
        const std::string file = name.toStdString();
        const Bytes expected = documentBytes(document(), file.c_str());
        m_ui.fileAnswers = {inDir(file)};
        click(1003);
        m_saved = m_at;
        m_savedBytes = savedBytes();
        m_savedFile = file;
        EXPECT_TRUE(m_dir.read(file) == expected) << "saved, not as the document holds";
        PathObject reloaded;
        ASSERT_EQ(loadObjectFile(reloaded, m_dir.file(file)).outcome, LoadOutcome::Loaded);
        // Saving leaves the head's length in memory as it was read (see serializeObjectFile).
        reloaded.m_head.length = m_dialog->m_object.m_head.length;
        EXPECT_TRUE(reloaded == m_dialog->m_object) << "the saved file loads back as another object";
    }

    // The file saved last, as it was saved.
    void loadSaved() {
        load(inDir(m_savedFile));
        EXPECT_TRUE(savedBytes() == m_savedBytes) << "loaded, not as saved";
        EXPECT_EQ(m_dialog->m_brightness, BrightnessCounters{});
        restart(true);
    }

    // Type files for every page (the Queue list names a missing one too), a bitmap and a sprite folder.
    void writeInputs() {
        auto sprites = standardSprites(146);
        for (int i = 0; i < 146; ++i)
            if (i != PathIconSprite && i != QueueIconSprite)
                sprites[std::size_t(i)] = solidRowCodedSprite(6, 3, std::uint8_t(130 + i % 40), -3, -1);
        const PathObject types = buildObject(sprites, twelveStrings(), 1, 0x02);
        for (int page = PagePath; page <= PageSupports; ++page) {
            const std::string file = "t" + std::to_string(page) + ".pth";
            m_dir.write(file, buildTypeFile(types, page));
            m_dir.writeText(kPages[std::size_t(page)].descriptorFile,
                            "2\nOne\n" + file + "\nGone\nnone.pth\n");
        }
        auto colour = [](int x, int y) { return std::array<int, 3>{200, 20 + x, 20 + y}; };
        m_bitmap = put("red.bmp", bitmap24(64, 64, colour));
        m_spriteFolder = inDir("pictures");
        const PathObject source = buildObject(standardSprites());
        // Up to the last sprite of the smallest support set, which a type may bring.
        ASSERT_TRUE(exportSpriteFolder(source, m_spriteFolder.toStdString(), 0, 145, false));
        for (int sprite : {3, 60, 80, 95, 120}) {  // one changed picture on each page
            const QString picture = m_spriteFolder + QStringLiteral("/%1.png").arg(sprite, 3, 10, QChar('0'));
            QImage image(picture);
            image.setPixel(1, 1, 99);
            ASSERT_TRUE(image.save(picture));
        }
    }

    std::vector<State> m_states;
    int m_at = 0;
    int m_saved = -1;  // -1: the saved state is not in the history
    Bytes m_savedBytes;
    std::string m_savedFile;
    QString m_bitmap, m_spriteFolder;
};

TEST_F(DocumentSoak, EveryStepKeepsTheHistoryTheSavedMarkAndTheFiles) {
    const char* replay = std::getenv("TRELLISOR_SOAK_SEED");
    const unsigned seed = replay ? unsigned(std::strtoul(replay, nullptr, 10)) : 24u;
    constexpr int kSteps = 3000;
    std::mt19937 random(seed);
    auto below = [&random](int n) { return int(random() % unsigned(n)); };
    std::srand(seed);  // the sparkles

    writeInputs();
    // Not shown: the commands skip their repaints, and the walk takes seconds, not minutes.
    m_dialog = std::make_unique<MainDialog>(m_dir.path(), m_ui);
    MainDialog& d = *m_dialog;
    load(writeObject("SRC.DAT"));
    restart(true);
    m_savedBytes = savedBytes();
    m_savedFile = "SRC.DAT";
    const QString texts[] = {"Path", "Pa", "Chemin é", " "};
    const QPoint strip = d.m_recolorStrip->geometry().topLeft();

    struct Kind {
        const char* name;
        int weight;
        bool edits;  // a change to the document, or none
        std::function<void()> run;
    };
    const Kind kinds[] = {
        {"Page", 6, false, [&] { selectTab(below(kPageCount)); }},
        {"Brightness Up", 8, true, [&] { click(1011); }},
        {"Brightness Down", 8, true, [&] { click(1012); }},
        {"Recolor", 5, true, [&] { d.OnLButtonUp(strip + QPoint(1 + 15 * below(kRampCount) + 7, 8)); }},
        {"Protect", 5, false,
         [&] { click(below(2) ? 1022 + below(3) : kFirstProtectedCheckId + below(kRampCount)); }},
        {"Add Sparkles", 3, true, [&] { click(1026); }},
        {"Set Path Type", 3, true,
         [&] {
             if (d.m_typeCombo->count() > 0) chooseType(below(d.m_typeCombo->count()));
         }},
        {"Import Bitmap", 2, true,
         [&] {
             m_ui.fileAnswers = {m_bitmap};
             click(1025);
         }},
        {"Import Sprites", 1, true,
         [&] {
             m_ui.folderAnswers = {m_spriteFolder};
             d.OnImportSprites();
         }},
        {"Draw Paths over Supports", 3, true, [&] { click(1027); }},
        {"Rebuild Icons", 2, true, [&] { menuAction("Rebuild Icons")->trigger(); }},
        {"Type", 8, false,
         [&] {
             const int row = below(kLanguageCount);
             d.m_stringTablePage->setText(row, texts[below(4)]);
             edited(row);
         }},
        {"Type in Turn", 1, false,  // forty steps: the oldest go past the bound
         [&] {
             for (int i = 0; i < 40; ++i) {
                 d.m_stringTablePage->setText(i % 2, QString::number(i));
                 edited(i % 2);
             }
         }},
        {"Undo", 8, false,
         [&] {
             for (int n = 1 + below(6); n > 0 && history().canUndo(); --n) undo();
         }},
        {"Redo", 6, false,
         [&] {
             for (int n = 1 + below(6); n > 0 && history().canRedo(); --n) redo();
         }},
        {"Walk the History", 4, false, [&] { walkHistory(); }},
        {"Save", 2, false, [&] { save(below(2) ? "A.DAT" : "B.DAT"); }},
        {"Load Saved", 1, false, [&] { loadSaved(); }},
        {"New", 1, false,
         [&] {
             click(1004);
             // The missing Queue type, when drawn, refuses New and keeps the object.
             const bool refused =
                 !m_ui.messages.empty() && m_ui.messages.back().text.startsWith("Cannot make");
             if (refused)
                 m_ui.messages.pop_back();
             else
                 restart(false);
         }},
    };
    int total = 0;
    for (const Kind& kind : kinds) total += kind.weight;

    std::string steps;
    for (int step = 0; step < kSteps && !HasFailure(); ++step) {
        int pick = below(total);
        const Kind* kind = kinds;
        while (pick >= kind->weight) pick -= (kind++)->weight;
        SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " + kind->name);
        kind->run();
        if (kind->edits) edited();
        steps +=
            std::to_string(step) + " " + kind->name + " (page " + std::to_string(d.m_currentPage) + ")\n";
        m_ui.fileAnswers.clear();
        m_ui.folderAnswers.clear();
        for (const auto& message : m_ui.messages)  // questions are answered; no command may fail
            EXPECT_TRUE(message.buttons != MessageButtons::Ok) << message.text.toStdString();
        m_ui.messages.clear();
        expectPromises();
    }
    walkHistory();
    if (HasFailure()) ADD_FAILURE() << "seed " << seed << ", steps taken:\n" << steps;
}

}  // namespace
}  // namespace trellisor::test
