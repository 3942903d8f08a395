#include "app/form1.h"

#include <algorithm>

namespace kansu {

using namespace role;

void Form1::jidou_Click() {
    if (player_.running()) {
        // Pressed again while a stopped run is still in its last wait: that run takes up again,
        // from the initial screen when it had reached the end, rather than a second run starting
        // inside it and leaving the first one unstoppable.
        player_.withdrawStop();
        if (motion_.atEnd())
            InitScreen();
        showRunning(true);
        return;
    }
    if (motion_.atEnd())
        InitScreen();
    showRunning(true);
    const bool stillOn = player_.play(
        {[this] { return motion_.atEnd(); }, [this] { susumu_Click(); },
         [this] { return control(speedBox).text; }, [this] { publish(); }, longestListedWait()});
    if (stillOn)
        showRunning(false);
}

std::int32_t Form1::longestListedWait() const {
    std::int32_t longest = 0;
    for (const std::string& speed : control(speedBox).items)
        longest = std::max(longest, motion::Player::waitFor(speed));
    return longest;
}

void Form1::tomeru_Click() {
    player_.requestStop();
    controls_.setEnabled(indexOf(playButton), true);
}

void Form1::showRunning(bool running) {
    // While a run lasts only ストップ, 終了, the speed and the check boxes stay enabled.
    controls_.setEnabled(indexOf(forwardButton), !running);
    controls_.setEnabled(indexOf(backButton), !running);
    controls_.setEnabled(indexOf(initialScreenButton), !running);
    controls_.setEnabled(indexOf(stopButton), running);
    controls_.setEnabled(indexOf(playButton), !running);
}

} // namespace kansu
