#include "trainee/helptext.h"

#include "core/ui/helpviewer.h"

namespace trainee {

QString helptitle() { return QStringLiteral("Dosavo Help"); }

QString helphtml() {
  return QStringLiteral(R"(<html><body>
<h2>Dosavo</h2>
<p>Dosavo gives practical assistance and exercises in metric conversions,
drug dosage and intravenous (IV) calculations, at your own pace.</p>

<h3>Starting</h3>
<p>Press <b>Start</b> on the title window. If your site keeps a record of
results you are asked to log on: type your ID number and/or your name and
press <b>O.K.</b>. Where it is allowed, <b>Practice</b> lets you work without
anything being recorded.</p>

<h3>The menu</h3>
<p>Click a module in the list to read its description. Double click it, or
press <b>Accept</b>, to start it. The modules are:</p>
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

<h3>Progress</h3>
<p>Once you have answered questions the <b>Progress</b> button shows your
correct, incorrect and passed answers for this session.</p>

<h3>Settings</h3>
<p><b>Options, Change General Settings</b> turns the animations, the metric
abbreviations, the use of all metric units, trade names and the textured
background on or off. <b>Use</b> applies them for this session,
<b>Save</b> also keeps them for the next time.</p>

<h3>Finishing</h3>
<p>Press <b>Quit</b> on the menu (or close it) to end. When your results are
being recorded they are written to the log at that moment.</p>
</body></html>)");
}

QWidget* showdosavohelp(QWidget* parent) { return ui::showhelp(parent, helptitle(), helphtml()); }

void installdosavohelp(QWidget& window) { ui::installhelpkey(window, helptitle(), helphtml()); }

}  // namespace trainee
