#include "app/form1.h"

namespace kansu {

using enum ControlId;

void Form1::jidou_Click() {
    if (player_.running()) {
        // Pressed again while a stopped run is still in its last wait: that run takes up again,
        // rather than a second run starting inside it and leaving the first one unstoppable.
        player_.withdrawStop();
        showRunning(true);
        return;
    }
    if (motion_.atEnd())
        InitScreen();
    showRunning(true);
    const bool stillOn =
        player_.play({[this] { return motion_.atEnd(); }, [this] { susumu_Click(); },
                      [this] {
                          return control(Combo1).text;
                      }});
    if (stillOn)
        showRunning(false);
}

void Form1::tomeru_Click() {
    player_.requestStop();
    controls_.setEnabled(indexOf(jidou), true);
}

void Form1::showRunning(bool running) {
    // While a run lasts only ストップ, 終了, the speed and the check boxes stay enabled.
    controls_.setEnabled(indexOf(susumu), !running);
    controls_.setEnabled(indexOf(modoru), !running);
    controls_.setEnabled(indexOf(Command1), !running);
    controls_.setEnabled(indexOf(tomeru), running);
    controls_.setEnabled(indexOf(jidou), !running);
}

} // namespace kansu
