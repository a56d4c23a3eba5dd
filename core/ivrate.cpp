#include <algorithm>
#include <cmath>

#include "core/generators.h"
#include "core/random.h"
#include "core/text.h"

// Every quantity of the drop-rate question is single precision: each
// division and multiplication is rounded to a float, and the numbers are
// written with up to 7 significant digits.

namespace core {

namespace {

constexpr std::int16_t dropfactors[4] = {0, 10, 15, 60};
const char* const fluidnames[4] = {"IV Fluids", "Normal Saline", "Dextrose 5% in water",
                                   "Hartmans (Lactated Ringer's)"};
// Volume in ml by the draw 1..14.
constexpr std::int16_t volumes[15] = {0, 50, 100, 250, 500, 500, 1000, 1000, 1000, 1000, 1000,
                                      1500, 2000, 2000, 3000};

// Bounds of the retry loops; with real draws each ends after a few tries.
constexpr int MAXSCENARIOS = 10000;
constexpr int MAXTRIES = 10000;

float Intf(float x) { return std::floor(x); }

// Int(Rnd x n): a whole number 0 .. n - 1.
int from0(int n) {
  const float v = Intf(rng().rnd() * static_cast<float>(n));
  return std::clamp(static_cast<int>(v), 0, n - 1);
}

// Int(Rnd x n + 1): a whole number 1 .. n.
int from1(int n) {
  const float v = Intf(rng().rnd() * static_cast<float>(n) + 1.0f);
  return std::clamp(static_cast<int>(v), 1, n);
}

std::string num(float v) { return numtext(v); }

std::string timetext(float hours) { return hours == 1 ? "1 hour" : num(hours) + " hours"; }

std::string volumetext(std::int16_t volume) {
  if (volume < 1000) return num(volume) + " mls";
  if (volume == 1000) return "1 litre";
  return num(static_cast<float>(volume) / 1000.0f) + " litres";
}

std::string elapsedtext(float e) {
  if (e < 60) return num(e) + " minutes";
  const float h = Intf(e / 60.0f);
  std::string s = h == 1 ? "1 hour" : num(h) + " hours";
  const float rest = e - 60.0f * h;
  if (rest != 0) s += " and " + num(rest) + " minutes";
  return s;
}

std::string remainingtext(float R) {
  if (R < 1000) return num(R) + " mls";
  const float L = Intf(R / 1000.0f);
  const float m = R - 1000.0f * L;
  if (m != 0) return num(L) + " litres and " + num(m) + " mls";
  return L < 2 ? num(L) + " litre" : num(L) + " litres";
}

}  // namespace

void ivrounding(float rate, double& answer, std::string& text) {
  const float whole = Intf(rate);
  const float g = rate - whole;
  text.clear();
  if (g == 0) {
    answer = rate;
    return;
  }
  const char* opening = "This number requires rounding into a whole number.";
  if (g > 0.49) {
    answer = whole + 1.0f;
    text = std::string(opening) +
           " Because the number after the decimal point is greater than .5 it is rounded up to " +
           num(static_cast<float>(answer)) + ".";
  } else {
    answer = whole;
    text = std::string(opening) +
           " Because the number after the decimal point is less than .5 this number is rounded down to " +
           num(static_cast<float>(answer)) + ".";
  }
}

bool ivquestion(std::string& question, double& answer, std::int16_t& volume, float& hours,
                std::int16_t& dropfactor, std::string& helptext) {
  const std::string br(crlf);
  question.clear();
  helptext.clear();
  answer = 0;
  volume = 0;
  hours = 0;
  dropfactor = 0;
  // The form family, drawn once before any reseed: 1 asks the question of an
  // infusion that has been running, 0 one of the four plain forms.
  const int x = from0(2);

  for (int scenario = 0; scenario < MAXSCENARIOS; ++scenario) {
    int r = 0;
    for (int draw = 0;; ++draw) {
      if (draw == MAXTRIES) return false;
      rng().reseed();
      r = from1(14);
      if (x == 0 || r >= 4) break;  // the running question needs at least 500 ml
    }
    const std::int16_t vol = volumes[r];
    const std::string fluid = vol < 500 ? fluidnames[0] : fluidnames[from0(4)];

    // 3000 ml always runs over 12 hours: no time is drawn, so there is no
    // reseed for it either.
    if (r <= 13) rng().reseed();
    float h = 12;
    if (r <= 3)
      h = Intf(rng().rnd() * 5.0f + 1.0f) * 30.0f / 60.0f;
    else if (r <= 5)
      h = (Intf(rng().rnd() * 8.0f + 1.0f) * 30.0f + 30.0f) / 60.0f;
    else if (r <= 13)
      h = Intf(rng().rnd() * 10.0f) + 3.0f;
    const std::string ttext = timetext(h);

    rng().reseed();
    const std::int16_t df = dropfactors[from0(3) + 1];
    const std::string vtext = volumetext(vol);
    const float rate = static_cast<float>(vol) / (h * 60.0f) * static_cast<float>(df);
    if (rate > 120) continue;

    std::string s;
    s.reserve(1200);
    s += "The formula for calculating drop factors is:" + br;
    s += br;
    s += "volume (mls) X drop factor (drops/ml)" + br;
    s += std::string(50, '-') + br;
    s += "time (min)" + br;
    s += br;
    s += " You must first ensure that all units conform to those required in the formula:" + br;

    float outvolume = vol, outhours = h, A = rate;
    std::string q;
    if (x == 0) {
      const std::string vpart =
          vol < 1000 ? vtext : "(" + vtext + " X 1000 ml) = " + num(static_cast<float>(vol));
      const std::string tpart =
          h >= 1 ? "(" + ttext + " X 60 minutes) = " + num(h * 60.0f) : num(h * 60.0f);
      s += "The volume is " + vpart + " (mls)" + br;
      s += "Over " + tpart + " (min)" + br;
      const std::string dtext = num(static_cast<float>(df));
      s += "The drop factor is " + dtext + " (drops/ml)";
      switch (from0(4) + 1) {
        case 1:
          q = vtext + " of " + fluid + " is charted over " + ttext + ". The drop factor is " + dtext +
              ". Calculate the number of drops per minute.";
          break;
        case 2:
          q = "Ordered: " + vtext + " of " + fluid + " over " + ttext +
              " using a giving set which delivers " + dtext + " drops/ml. Calculate the rate in drops/minute.";
          break;
        case 3:
          q = "Calculate the drip rate for " + vtext + " of " + fluid + " to be given over " + ttext +
              " via a giving set which delivers " + dtext + " drops/ml.";
          break;
        default:
          q = "You are required to administer " + vtext + " of " + fluid + " over " + ttext +
              ". The drop factor is " + dtext +
              ". How many drops per minute are required to start the flow off at the correct rate?";
          break;
      }
    } else {
      const float M = h * 60.0f;
      const float fdf = df;
      bool done = false;
      float e = 0, R = 0, n = 0;
      for (int attempt = 0; attempt < MAXTRIES && !done; ++attempt) {
        rng().reseed();
        const float k = static_cast<float>(from0(60));
        e = Intf(Intf((k + 30.0f) / 100.0f * M) / 15.0f) * 15.0f;
        const float a = Intf(rate + static_cast<float>(from0(20)) - 10.0f);
        if (a < 10 || a > 120) continue;
        R = Intf(Intf(a * (M - e) / fdf) / 50.0f) * 50.0f;
        if (R >= vol) continue;
        n = R / (M - e) * fdf;
        if (n > 120 || std::fabs(rate - n) > 30) continue;
        done = true;
      }
      if (!done) continue;  // take another volume, time and drop factor
      const std::string rtext = remainingtext(R);
      q = vtext + " of " + fluid + " is charted over " + ttext + ". The drop factor is " +
          num(fdf) + ". The IV has been running for " + elapsedtext(e) + ". " + rtext +
          " remain. How many drops per minute are needed so that the IV finishes in the required time?";
      const std::string rpart = R < 1000 ? num(R) + " mls" : rtext + " = " + num(R) + "mls";
      s += "The volume is " + rpart + " (ml) remaining" + br;
      s += "Over " + num(M) + " - " + num(e) + " = " + num(M - e) + " (min) remaining" + br;
      s += "The drop factor is " + num(fdf) + " (drops/ml)";
      outvolume = R;
      outhours = (M - e) / 60.0f;
      A = n;
    }

    const float V = outvolume;
    const float T = outhours * 60.0f;
    const float D = df;
    s += br;
    s += br;
    s += "Now we plug these numbers into the formula:" + br;
    s += br;
    const std::string vt = num(V), tt = num(T), pertime = num(V / T), dt = num(D), at = num(A),
                      drops = num(V * D);
    s += vt + " (mls) / " + tt + " (min) = " + pertime + " (mls/min)" + br;
    s += pertime + " (mls/min) X " + dt + " (drops/ml) = " + at + " (drops/min)" + br;
    s += br;
    s += "This formula could also be calculated as:" + br;
    s += vt + " (mls) X " + dt + " (drops/ml) = " + drops + " (drops)" + br;
    s += drops + " (drops) / " + tt + " (min) = " + at + " (drops/min)" + br;
    s += br;
    std::string rounding;
    ivrounding(A, answer, rounding);
    s += rounding;

    question = q;
    volume = static_cast<std::int16_t>(outvolume);
    hours = outhours;
    dropfactor = df;
    helptext = "The Question was :" + br + question + br + br + s;
    return true;
  }
  return false;
}

}  // namespace core
