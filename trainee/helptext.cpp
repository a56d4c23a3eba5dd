#include "trainee/helptext.h"

#include "core/ui/helpviewer.h"

namespace trainee {

QString helptitle() { return QStringLiteral("Dosavo Help"); }

QString helphtml() {
  return QStringLiteral(R"(<html><body>
<h2>Dosavo</h2>
<p>Dosavo gives practical assistance and exercises in metric conversions,
drug dosage and intravenous (IV) calculations, at your own pace.</p>

<h3><a name="starting"></a>Starting</h3>
<p>Press <b>Start</b> on the title window. If your site keeps a record of
results you are asked to log on: type your ID number and/or your name (Tab
moves from one box to the next) and press <b>O.K.</b> or Enter. Where it is allowed, <b>Practice</b> lets you work without
anything being recorded.</p>

<h3><a name="menu"></a>The menu</h3>
<p>Click a module in the list to read its description. Double click it, or
press <b>Accept</b>, to start it. From the keyboard, the arrow keys choose a
module and Enter starts it. The modules are:</p>
<ul>
<li><b>Metric Conversions</b> &ndash; converting between metric units of
volume and mass.</li>
<li><b>Calculating Tablet Dosages</b> &ndash; how many tablets or capsules to
give for a prescribed dose.</li>
<li><b>Calculating Fluid Dosages</b> &ndash; the volume of an oral solution
or injection to give for a prescribed dose.</li>
<li><b>Calculating IV Drop Rates</b> &ndash; flow rates and drop rates of an
intravenous infusion.</li>
<li><b>IV - Counting Drops</b> &ndash; count the drops of a running IV
burette for a minute.</li>
<li><b>IV - Setting The Flow Rate</b> &ndash; set a burette to run at a given
number of drops per minute.</li>
</ul>
<p>Tests written by your teachers follow the six modules in the list.</p>

<h3>Drug categories</h3>
<p>The <b>Drug Category</b> menu chooses which groups of drugs the tablet and
fluid questions use. Click a category to tick or untick it; at least one
category always stays ticked.</p>

<h3><a name="exercise"></a>Working an exercise</h3>
<p>The exercise window first shows what the module is about. Press
<b>Start</b> for the first question. Type your answer in the answer box (in
the built-in modules only numbers, the point and the blank can be typed)
and press <b>Answer</b> or Enter. The panel at the side keeps count of your
correct, incorrect and passed answers.</p>
<ul>
<li>A right answer is marked <b>Correct</b>; press <b>Next</b> for the next
question.</li>
<li>An empty answer passes the question, unless your site does not allow
passing.</li>
<li>After a wrong answer you are shown the correct one. Where a worked
solution exists you are asked whether you would like to see how it was
worked out: <b>Yes</b> shows it, <b>No</b> goes on to the next question.</li>
<li><b>Show Me</b> shows the worked solution of the question in front of you
at any time; <b>OK</b> closes it again and your answer is marked.</li>
<li><b>Quit</b> takes you back to the menu. A test ends by itself after its
last question: <b>OK</b> on the "Test Completed" notice returns to the
menu.</li>
</ul>
<p>You can work with the keyboard alone. Once an answer is marked, the button
that goes on (<b>Next</b>, <b>Yes</b>, or <b>OK</b>) is highlighted: press
Enter to press it, or Tab and Shift+Tab to move to another button (such as
<b>No</b> beside <b>Yes</b>). The answer box is ready for typing again with
the next question. The underlined letter of a button's caption, pressed with
Alt, presses it too (Alt+Q for <b>Quit</b>); while an <b>OK</b> button is
shown, Alt+O presses it, and otherwise opens the <b>Options</b> menu. In
<b>IV - Setting The Flow Rate</b> the arrow keys move the scroll bar, and
Alt+A (or Tab, then Enter) presses <b>Accept</b>; there <b>Answer</b> takes
Alt+N. While a worked solution is shown, the answer box under it takes no
keys.</p>
<p>Your site may switch some of these aids off while results are being
recorded: the calculator, Show Me, the marking of each answer on screen,
passing and the Progress button.</p>

<h3>The IV burette</h3>
<p>In <b>IV - Counting Drops</b> a burette drips at the rate of the question;
count its drops for one minute by the clock beside it and type the number
of drops per minute. Its worked solution counts them for you with the
<b>Counter</b>. In <b>IV - Setting The Flow Rate</b> move the scroll bar
(drag it, click it or use the arrow keys) until the burette drips at the
rate asked for and press <b>Accept</b>. In
<b>Calculating IV Drop Rates</b> the burette shows the right rate once you
have answered.</p>

<h3><a name="calculator"></a>The calculator</h3>
<p>Click the calculator picture beside the answer box to open or close the
calculator. It has the four functions +, -, X and / and works strictly from
left to right, as a pocket calculator does: 2 + 3 X 4 gives 20. <b>C</b>
clears everything and <b>CE</b> the number being typed. <b>=</b> shows the
result and also copies it into the answer box, ready for <b>Answer</b>.</p>
<p>From the keyboard: Shift+Tab from the answer box reaches the calculator
picture, and Space or Enter opens or closes it. In the calculator the
digits, the point, +, -, * (or X) and / press its keys, Enter or = presses
<b>=</b>, C presses <b>C</b>, and Backspace or Delete presses
<b>CE</b>. To go back to the answer box, where <b>=</b> has left the
result, switch to the exercise window (Alt+Tab); Space on the calculator
picture puts the calculator away.</p>

<h3><a name="progress"></a>Progress</h3>
<p>Once you have answered questions the <b>Progress</b> button shows your
correct, incorrect and passed answers for this session. <b>OK</b> closes the
window. <b>Clear</b> sets the counts back to nothing: from then on only new
answers are shown, and recorded when you finish.</p>

<h3><a name="settings"></a>Settings</h3>
<p><b>Options, Change General Settings</b> turns the animations, the metric
abbreviations, the use of all metric units, trade names and the textured
background on or off. <b>Use</b> applies them for this session,
<b>Save</b> also keeps them for the next time. If they cannot be saved
(the file may not be written, or the disk is full) you are told why, and
they still apply for this session.</p>

<h3><a name="finishing"></a>Finishing</h3>
<p>Press <b>Quit</b> on the menu (or close it) to end. When your results are
being recorded they are written to the log at that moment (your site may
first ask whether you want them saved: <b>Yes</b> saves them, <b>No</b> ends
without saving). If the log cannot be written, Dosavo asks whether to try
again: <b>Yes</b> tries again, <b>No</b> goes on without recording.</p>

<p>Press F1 in any window to open this help, and Escape to close it.</p>
</body></html>)");
}

QWidget* showdosavohelp(QWidget* parent, const QString& section) {
  return ui::showhelp(parent, helptitle(), helphtml(), section);
}

void installdosavohelp(QWidget& window, const QString& section) {
  ui::installhelpkey(window, helptitle(), helphtml(), section);
}

}  // namespace trainee
