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

<h3>The start screen</h3>
<p>Click <b>Test Construction Set</b> (or its picture) to build or change a
test, or <b>Drug Database</b> to edit the drugs. With the keyboard, press Tab
to move to a panel and Enter or the space bar to open it. While a workbench
is open the start screen is put away; it comes back when you close the
workbench. <b>Quit</b> (Alt+Q) or closing the start screen ends Quizwright.</p>

<h3>The test editor</h3>
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
<p>Press Tab to move between the boxes and buttons. The <b>Edit</b> menu
cuts, copies and pastes the selected text of the box you are typing in.</p>
<p>A new test is built in the working file test.tmp, which is removed when
the editor closes: save it as a test file from the <b>File</b> menu to keep
it. A test you opened or saved is changed in its own file as you work.</p>
<p><b>Options, Change General Settings</b> chooses how generated questions
write units and drug names.</p>

<h3>Creating questions</h3>
<p>Tick the kinds of question wanted, select the drug categories that tablet
and fluid questions may use, type how many questions to create and press
<b>Create Question</b>. A test holds at most 99 created questions.</p>

<h3>Test description</h3>
<p><b>Test Description</b> (Alt+T) opens a dialog for the test's title (at
most 40 characters), a brief description (200 characters, on one line) and
the instructions that Dosavo shows before the first question (600
characters; Enter starts a new line). Tick <b>Include this test in Dosavo
menu</b> to list the test in Dosavo's module menu. OK keeps the changes,
Cancel drops them; either way the test's header is written again at
once.</p>

<h3>The drug database</h3>
<p>The drug database editor changes the drugs, their preparations,
strengths and dose ranges, and their categories. When it closes it rebuilds
the drug lists (vqdbs1.idx, vqdbs2.idx and vqcat.idx) that both programs
read when they start. If Quizwright reports that a drug list file is missing,
open the drug database editor and close it again.</p>

<h3>Questions asked</h3>
<p>Some steps ask a question with <b>Yes</b> and <b>No</b> (Alt+Y, Alt+N).
Closing that window without an answer keeps the answer given last time.</p>

<h3>Settings</h3>
<p>The settings dialog switches abbreviated units, all metric units and
trade names for the questions Quizwright creates. <b>Use</b> applies them
for this session, <b>Save</b> keeps them in VQ.INI for the next time, and
<b>Restore Defaults</b> puts back the standard settings.</p>

<p>Press F1 in any window to open this help.</p>
</body></html>)");
}

QWidget* showquizwrighthelp(QWidget* parent) { return ui::showhelp(parent, helptitle(), helphtml()); }

void installquizwrighthelp(QWidget& window) { ui::installhelpkey(window, helptitle(), helphtml()); }

}  // namespace authoring
