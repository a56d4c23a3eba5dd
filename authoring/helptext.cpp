#include "authoring/helptext.h"

#include "core/ui/helpviewer.h"

namespace authoring {

QString helptitle() { return QStringLiteral("Quizwright Help"); }

QString helphtml() {
  return QStringLiteral(R"(<html><body>
<h2>Quizwright</h2>
<p>Quizwright builds tests for the Dosavo trainee program and keeps the drug
database that Dosavo's tablet and fluid questions draw from. It works on the
files of the folder it was started in.</p>

<h3><a name="start"></a>The start screen</h3>
<p>Click <b>Test Construction Set</b> (or its picture) to build or change a
test, or <b>Drug Database</b> to edit the drugs. With the keyboard, press Tab
to move to a panel and Enter or the space bar to open it. While a workbench
is open the start screen is put away; it comes back when you close the
workbench. <b>Quit</b> (Alt+Q) or closing the start screen ends Quizwright.</p>

<h3><a name="editor"></a>The test editor</h3>
<p>The editor shows one question at a time: its text in <b>Question</b>, the
worked solution in <b>Help / Solution</b> and the correct answer in
<b>Answer</b> (at most 12 characters). Questions hold up to 800 characters,
solutions up to 1200. Everything you type is written to the test's file as
soon as you move to another question, so the file always holds what you
last left.</p>
<p>A question needs both a question text and an answer: until it has them,
the editor says &quot;Question and answer fields must be completed&quot; and the
buttons that move to other questions are hidden.</p>
<ul>
<li>The arrow buttons show the previous and the next question. Previous on
the first question goes to the last; next on the last question adds a new,
empty question at the end.</li>
<li>The double arrows move back or forward ten questions, stopping at the
first and the last.</li>
<li>The cross deletes the question shown, without asking. A test always
keeps at least one question.</li>
</ul>
<p>Press Tab to move between the boxes and buttons, and Enter or the space
bar to press the button you are on. In the <b>File</b> menu, Open Test and
Text File Options share the letter O, so O only moves the highlight: pressed
once it goes to Open Test, pressed again to Text File Options; Enter then
opens a test or shows the text file options. The <b>Edit</b> menu
cuts, copies and pastes the selected text of the box you are typing in.</p>
<p>A new test is built in the working file test.tmp, which is removed when
the editor closes: save it as a test file from the <b>File</b> menu to keep
it. A test you opened or saved is changed in its own file as you work.</p>
<p><b>Options, Change General Settings</b> chooses how generated questions
write units and drug names.</p>

<h3><a name="creating"></a>Creating questions</h3>
<p>Tick the kinds of question wanted (<b>Metric Conversions</b>, <b>Tablet
Dosages</b>, <b>Fluid Dosages</b>, <b>IV Drop Rates</b>; at least one stays
ticked), select the drug categories that tablet and fluid questions may use,
type how many questions to create (digits only) and press <b>Create
Question</b> (Alt+C). Each question is made with its answer and worked
solution, picks one of the ticked kinds at random and is added at the end of
the test; on a new test the first one takes the place of the empty question.
A test holds at most 99 created questions: a larger count is cut to what
still fits, with a warning. If no selected category holds a tablet (or
fluid) drug, Quizwright says so and stops the batch; the questions made
before stay in the test.</p>

<h3><a name="files"></a>Test files</h3>
<p>The <b>File</b> menu ends with the test files (*.vqt) of the folder
Quizwright was started in: press the number shown to open one (1 to 9). A
test saved while the editor is open joins this list the next time you open
the editor.</p>
<ul>
<li><b>New Test</b> starts an untitled test.</li>
<li><b>Open Test</b> opens a test file chosen in the file dialog. Opening
shows the test's last question; from then on every change goes straight
into that file.</li>
<li><b>Save As Test</b> saves the test under a name you choose. A name
ending in .vqt saves a test file, which Dosavo lists when its description
has <b>Include this test in Dosavo menu</b> ticked; the saved file is then
the one you edit. A name ending in .txt writes the test as a text file for
printing, and you go on editing the same test. Saving over an existing file
asks first; the old file is replaced only once the new one is complete.</li>
<li><b>Save Test</b> stores the question shown in the open test file.</li>
</ul>
<p>Leaving an untitled test that holds work (New Test, Open Test, closing the
editor) asks whether to save it first.</p>
<p><b>Text File Options</b> chooses how the text file numbers its questions
(<b>Numbering Questions</b>) and which parts it holds: the title, the
description, the instructions, the answer key and the worked solutions. The
choices last until Quizwright ends.</p>

<h3><a name="description"></a>Test description</h3>
<p><b>Test Description</b> (Alt+T) opens a dialog for the test's title (at
most 40 characters), a brief description (200 characters; Enter does not
start a new line there) and
the instructions that Dosavo shows before the first question (600
characters; Enter starts a new line). Tick <b>Include this test in Dosavo
menu</b> to list the test in Dosavo's module menu. OK keeps the changes,
Cancel drops them; either way the test's header is written again at
once.</p>

<h3><a name="drugs"></a>The drug database</h3>
<p>The drug database editor shows one drug of VQDBASE.FIL at a time: its
generic name and two trade names (30 characters each), its category, the
lowest and highest single dose with their units, the step between fluid
doses (<b>Fluid Increment</b>) and up to five preparations. For each
preparation choose its kind under <b>Available in</b> (Tablet to IV
Injection) and type its strength under <b>Dose</b>. A tablet or capsule
may be ticked under <b>Half?</b> when it may be halved; a fluid asks for
the millilitres that hold that strength (<b>in</b> ... <b>ml</b>). The
number boxes take digits, the point and blanks only.</p>
<p><b>Record</b> shows which drug you are on and how many there are, as in
3 / 12. The buttons at the bottom go to the first drug, the previous one
(from the first, round to the last), the next one and the last one; from any
box the keys <b>Ctrl+Home</b>, <b>Page Up</b>, <b>Page Down</b> and
<b>Ctrl+End</b> do the same. Next on the last drug adds a new, empty drug:
fill it in, and when you move on (Page Down, say) the editor offers to save
it. Press Tab to reach a button and the space bar to press it.</p>
<p>When you leave a drug you changed, the editor asks whether to save it.
A drug is saved only when it has a generic name, both doses of its range
and at least one strength, and every fluid has its volume; a fluid drug
without an increment is saved after a warning.</p>
<p>To put a drug in a new category, type the category's name (at most 20
characters) into <b>Drug Category</b>; the editor keeps at most 50
categories. Names differ by their capitals too.</p>
<p>The bin deletes the drug shown at once, without asking; the drugs after
it move up by one.</p>
<p>Closing the editor (<b>Quit</b>, Alt+Q) asks about a changed drug, then
rebuilds the drug lists (vqdbs1.idx, vqdbs2.idx and vqcat.idx) that both
programs read: Quizwright reads them again at once, so new questions use
the changed drugs and categories, and Dosavo reads them at its next start.
A category that no drug carries is left out of the lists. If Quizwright
reports that a drug list file is missing, open the drug database editor and
close it again.</p>

<h3><a name="questions"></a>Questions asked</h3>
<p>Some steps ask a question with <b>Yes</b> and <b>No</b> (Alt+Y, Alt+N).
Only these two buttons answer it: Escape does nothing there, and the window
cannot be closed without an answer. Yes to saving an untitled test leaves
it only once it is saved: if you cancel the Save dialog, you stay on the
test.</p>

<h3><a name="settings"></a>Settings</h3>
<p>The settings dialog switches abbreviated units, all metric units and
trade names for the questions Quizwright creates. <b>Use</b> applies them
for this session, <b>Save</b> keeps them in VQ.INI for the next time, and
<b>Restore Defaults</b> puts back the standard settings.</p>

<p>Press F1 in any window to open this help.</p>
</body></html>)");
}

void installquizwrighthelp(QWidget& window, const QString& section) {
  ui::installhelpkey(window, helptitle(), helphtml(), section);
}

}  // namespace authoring
