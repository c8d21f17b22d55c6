#pragma once

// A check box or option button whose click asks for the other value instead of taking
// it (clicked() still comes): the window ticks it once what goes with the new value could
// be read, so a button never shows what the window could not.
template <class Button>
class AskingButton : public Button {
public:
    using Button::Button;

protected:
    void nextCheckState() override {}
};
