// HelpDialog: a read-only page of our own; no help file is involved.
#include "app/EditorHelp.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace trellisor {

QString editorHelpHtml() {
    return QStringLiteral(
        "<h3>Visual Trellisor</h3>"
        "<p>Edits the path objects of the game: footpaths, queues, their railings and the supports "
        "under raised paths, stored in <b>.DAT</b> object files.</p>"
        "<h4>Files</h4><ul>"
        "<li><b>Load</b> opens an object file; <b>Save</b> writes it (the object takes its name from "
        "the file name); <b>New</b> builds an object from one random type of each page's list.</li>"
        "<li><b>Exit</b>, Esc or the close box leave the editor. With unsaved changes (the title ends "
        "in <b>*</b>) they, <b>Load</b>, <b>New</b>, a dropped file and a recent file first ask "
        "whether to save them.</li>"
        "<li>Return and Esc inside a text, box or list never close the window.</li>"
        "<li>A file that cannot be opened, saved or written is named with the reason, and nothing "
        "is lost: the open object, the file on disk and the title stay as they were. Texts that "
        "an object file cannot hold (Windows-1252) are refused before saving.</li></ul>"
        "<h4>Undo and shortcuts</h4><ul>"
        "<li>Every change (a type chosen, brightness, recolouring, bitmap import, sparkles, "
        "<b>Draw Paths over Supports</b>, a text) can be taken back: <b>Ctrl+Z</b> undoes, "
        "<b>Ctrl+Shift+Z</b> or <b>Ctrl+Y</b> redoes. Load and New start a fresh history.</li>"
        "<li><b>Ctrl+O</b> Load, <b>Ctrl+S</b> Save, <b>Ctrl+N</b> New, <b>Ctrl+E</b> Export Sprites, "
        "<b>Ctrl+I</b> Import Sprites, <b>Ctrl+L</b> Link Sprite Folder, <b>F1</b> this page.</li>"
        "<li>Dropping a .DAT file on the window opens it.</li></ul>"
        "<h4>Pages</h4><p><b>Path</b>, <b>Path Railings</b>, <b>Queue</b>, <b>Queue Railings</b> and "
        "<b>Supports</b> each edit one set of sprites; <b>String Table</b> holds the object's name in "
        "twelve languages (<b>To All</b> copies one row into every row).</p>"
        "<h4>Commands of a page</h4><ul>"
        "<li><b>Set Path Type:</b> replaces the page's sprites by a stored type (a .PTH file listed in "
        "path.txt, prail.txt, queue.txt, qrail.txt or support.txt of the working folder); the export "
        "button stores the page as a new type.</li>"
        "<li><b>Show Example</b> / <b>Show All</b> choose between an example scene over grass and a grid "
        "of every sprite of the page.</li>"
        "<li><b>&lt;</b> and <b>&gt;</b> step the page's brightness (twelve steps each way).</li>"
        "<li>A click on a block of the <b>Recolor:</b> strip moves the page's colours to that colour "
        "ramp; the boxes under the strip protect their ramps from every colour command (<b>Set</b>, "
        "<b>Clear</b> and <b>Toggle</b> change all of them).</li>"
        "<li><b>Import Bitmap</b> repaints the Path or Queue sprites from an 8 or 24 bit .BMP file "
        "(stairs and ramps are left alone); <b>Add Sparkles</b> scatters sparkles over the path.</li>"
        "<li><b>Draw Paths over Supports</b> sets the object's flag of that name.</li></ul>"
        "<h4>Working with a pixel editor</h4><ul>"
        "<li><b>Export Sprites</b> writes the page's sprites as PNG pictures and a sprites.json into a "
        "folder; <b>Import Sprites</b> reads them back into the page as one step.</li>"
        "<li><b>Link Sprite Folder</b> fills an empty folder with every sprite (or takes a sprite folder "
        "as it is). Each picture saved there then comes in as one step, \"Update from Folder\", and "
        "every change made here is written back to the folder. The line under the page says what "
        "happened; Unlink, Load, New and leaving end the link.</li></ul>"
        "<p>A right click on the window offers Undo and Redo, the last eight files, the sprite "
        "commands and the About box.</p>");
}

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Visual Trellisor Help"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QTextBrowser(this);
    text->setHtml(editorHelpHtml());
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(460, 480);
}

}  // namespace trellisor
