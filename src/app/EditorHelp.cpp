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
        "<li>Load then Save with no change writes the file exactly as it was read. Saving keeps the "
        "permissions of the file replaced, replaces the file a symbolic link points to, and leaves "
        "the old file or the new one, never half of each.</li>"
        "<li>A file whose checksum does not match its contents opens with a warning; Save writes a "
        "correct checksum.</li>"
        "<li><b>Exit</b>, Esc or the close box leave the editor. With unsaved changes (the title ends "
        "in <b>*</b>) they, <b>Load</b>, <b>New</b>, a dropped file and a recent file first ask "
        "whether to save them.</li>"
        "<li>Return and Esc inside a text, box or list never close the window.</li>"
        "<li>A file that cannot be opened, saved or written is named with the reason, and nothing "
        "is lost: the open object, the file on disk and the title stay as they were. Texts that "
        "an object file cannot hold (Windows-1252) are refused before saving.</li></ul>"
        "<h4>Undo and shortcuts</h4><ul>"
        "<li>Every change (a type chosen, brightness, recolouring, bitmap import, sparkles, a sprite "
        "import, an update from a linked folder, Rebuild Icons, <b>Draw Paths over Supports</b>, a "
        "text) can be taken back: <b>Ctrl+Z</b> undoes, <b>Ctrl+Shift+Z</b> or <b>Ctrl+Y</b> redoes. "
        "Load and New start a fresh history and set every page's brightness back to 0.</li>"
        "<li><b>Ctrl+O</b> Load, <b>Ctrl+S</b> Save, <b>Ctrl+N</b> New, <b>Ctrl+E</b> Export Sprites, "
        "<b>Ctrl+I</b> Import Sprites, <b>Ctrl+L</b> Link Sprite Folder, <b>F4</b> the Viewer, "
        "<b>F1</b> this page.</li>"
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
        "<b>Clear</b> and <b>Toggle</b> change all of them). By keyboard, Tab reaches the strip and "
        "then the boxes, one stop each: the arrow keys move, Space recolours or ticks.</li>"
        "<li><b>Import Bitmap</b> repaints the Path or Queue sprites from a picture (.BMP of any "
        "depth, .PNG, or any other format the system reads; stairs and ramps are left alone); "
        "<b>Add Sparkles</b> scatters sparkles over the path.</li>"
        "<li><b>Draw Paths over Supports</b> sets the object's flag of that name.</li></ul>"
        "<h4>Working with a pixel editor</h4><ul>"
        "<li><b>Export Sprites…</b> (<b>Ctrl+E</b>) writes the page's sprites as PNG pictures and a "
        "<i>sprites.json</i> into a folder; <b>Import Sprites…</b> (<b>Ctrl+I</b>) reads them back "
        "into the page, after any pixel editor has changed them, as one step.</li>"
        "<li><b>Link Sprite Folder…</b> (<b>Ctrl+L</b>) fills an empty folder with every sprite (or "
        "takes a sprite folder as it is). Each picture saved there then comes in as one step, "
        "\"Update from Folder\", and every change made here is written back to the folder. The line "
        "under the page says what happened; Unlink, Load, New and leaving end the link.</li></ul>"
        "<h4>The icons</h4><ul>"
        "<li>Icons drawn from the sprites follow every change of them; icons drawn by hand are kept "
        "(the About box, the preview's tooltip and the Viewer say \"icons: hand-drawn, kept\").</li>"
        "<li><b>Rebuild Icons</b> draws both from the sprites, as one step.</li></ul>"
        "<h4>The Viewer (F4)</h4><ul>"
        "<li>A second window: the preview zoomed 1x-8x (Ctrl+wheel, Ctrl+=, Ctrl+-, Ctrl+0 fits) and "
        "the page's sprites, the selected one up to 16x with its size, offsets, format and bytes.</li>"
        "<li>The line at the bottom says what lies under the mouse: the sprite that drew the pixel, "
        "its palette index, colour ramp, shade and colour. A click selects that sprite; the arrow "
        "keys, Page Up/Down, Home and End move on.</li>"
        "<li>Hold <b>B</b> to see the object as last loaded or saved; <b>Differences</b> marks what "
        "changed since.</li></ul>"
        "<p>A right click on the window offers Undo and Redo, the last eight files, the sprite "
        "commands, Rebuild Icons, the Viewer and the About box.</p>");
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
