// The editor frame off-screen: sizes from the preferences, scaling, the
// front panel's views, closing, both directions between views and effect,
// and the editor beside a running audio thread.
#include <atomic>
#include <cmath>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "controls/TBitmap.h"
#include "controls/TKnob.h"
#include "controls/TOnOffButton.h"
#include "controls/TOptionMenu.h"
#include "controls/TRadioButton.h"
#include "controls/TTextButton.h"
#include "tests/editor/EditorTestSupport.h"

using namespace VSTGUI;
using namespace guitest;
using namespace editortest;

namespace {

// Scaling truncates: the placement of the dry knob at 150 % below shows it.
TEST(EditorSize, FollowsThePreferencesWith200Winning) {
    using Case = std::tuple<const char*, const char*, VstInt16, VstInt16>;
    for (auto [big150, big200, width, height] : {Case{nullptr, nullptr, 1100, 641}, Case{"Y", nullptr, 1650, 961},
                                                 Case{"Y", "Y", 2200, 1282}, Case{"y", "N", 1100, 641}}) {
        EffectWithEditor effect(big150, big200);
        ERect* rect = nullptr;
        ASSERT_EQ(effect.plugin->dispatcher(effEditGetRect, 0, 0, &rect, 0), 1);
        EXPECT_EQ(std::pair(rect->right, rect->bottom), std::pair(width, height));
        CFrame* frame = effect.openOffscreen();  // as big as that size's background
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->getViewSize(), CRect(0, 0, width, height));
    }
    EXPECT_EQ(EffectWithEditor("Y").editor->getBitmap(10022), 11022);
}

TEST(EditorOpen, PlacesTheFrontPanelAndBindsItToTheParameters) {
    EffectWithEditor effect("Y");
    CFrame* frame = effect.openOffscreen();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(viewsOf<TKnob>(*frame).size(), 19u);
    EXPECT_EQ(viewsOf<TOnOffButton>(*frame).size(), 10u);
    auto texts = viewsOf<TTextButton>(*frame);  // 19 read-outs, then the LFO speed
    ASSERT_EQ(texts.size(), 20u);
    TKnob* dry = viewWithTag<TKnob>(*frame, Param::DryVolume);  // (507, 44) at 150 %
    EXPECT_EQ(dry->getViewSize().getTopLeft(), CPoint(760, 66));
    EXPECT_FLOAT_EQ(dry->getValue(), effect.plugin->getParameter(Param::DryVolume));
    EXPECT_FLOAT_EQ(dry->getDefaultValue(), parameterRow(Param::DryVolume).defaultValue);
    EXPECT_EQ(texts[0]->getViewSize(), CRect(751, 132, 751 + 79, 132 + 16));
    EXPECT_EQ(texts[8]->getViewSize().top, effect.editor->getScaled(427 - 22));  // "Reverse Zoom": above
    TOptionMenu* preset = viewsOf<TOptionMenu>(*frame).front();
    ASSERT_EQ(preset->getNbEntries(), 12);
    EXPECT_EQ(preset->getEntry(1)->getSubmenu()->getNbEntries(), 14);
    EXPECT_EQ(preset->getEntry(3)->getSubmenu()->getNbEntries(), 0);
}

TEST(EditorOpen, CloseLeavesNoViewBehindAndOpenRebuildsThem) {
    EffectWithEditor effect;
    for (int round = 0; round < 3; ++round) {
        CFrame* frame = effect.openOffscreen();
        ASSERT_NE(frame, nullptr);
        TKnob* knob = viewsOf<TKnob>(*frame).front();
        knob->remember();
        // Open again without a close: rebuilt, the first frame let go.
        ASSERT_TRUE(round != 1 || effect.openOffscreen() != nullptr);
        effect.editor->close();
        EXPECT_EQ(effect.editor->getFrame(), nullptr);
        EXPECT_EQ(effect.editor->picture(10000), nullptr);
        EXPECT_FALSE(knob->isAttached());
        EXPECT_EQ(knob->getNbReference(), 1);  // only the test's own
        knob->forget();
    }
    effect.editor->idle();  // closed: ignored
    effect.editor->setParameter(2, 0.5f);
}

using EditorFollowsTheEffect = InEditor;

TEST_F(EditorFollowsTheEffect, ControlsReadOutsRadiosAndLabelsShowItsState) {
    plugin.setParameter(Param::WetVolume, 0.25f);
    plugin.setParameter(Param::LfoWave, 0.9f);  // "Square"
    plugin.setParameter(Param::ReverseTriggerMode, 2.1f / 2.99f);  // "Host"
    plugin.setParameter(Param::FilterMode, 1.0f);  // comb
    effect.idleLater();

    EXPECT_FLOAT_EQ(viewWithTag<TKnob>(*frame, Param::WetVolume)->getValue(), 0.25f);
    EXPECT_EQ(viewWithTag<TOptionMenu>(*frame, Param::LfoWave)->getCurrent()->getTitle(), "Square");
    auto radios = viewsOf<TRadioButton>(*frame);
    EXPECT_EQ(radios[0]->getValue() + radios[1]->getValue(), 0.0f);
    EXPECT_EQ(radios[2]->getValue(), 1.0f);
    char display[256] = {};
    plugin.getParameterDisplay(Param::WetVolume, display);
    EXPECT_STREQ(viewsOf<TTextButton>(*frame)[1]->getString(), display);
    auto labels = viewsOf<TBitmap>(*frame);
    ASSERT_EQ(labels.size(), 5u);
    EXPECT_EQ(labels[0]->getBackground()->getResourceId(), 10041);
    EXPECT_EQ(labels[3]->getBackground()->getResourceId(), 10046);
}

// Whoever changes a parameter (host, learned MIDI controller, the engine
// itself), the change reaches the controls as a mark in the mailbox; a
// control under the user's hand keeps its mark until it is let go.
TEST_F(EditorFollowsTheEffect, EveryChangeArrivesAsAMark) {
    std::vector<float> silence(64, 0.0f);
    float* in[2] = {silence.data(), silence.data()};
    std::vector<float> left(64), right(64);
    float* out[2] = {left.data(), right.data()};
    TKnob* dry = viewWithTag<TKnob>(*frame, Param::DryVolume);
    TOnOffButton* trigger = viewWithTag<TOnOffButton>(*frame, Param::ReverseTrigger);

    plugin.setMidiLatch(Param::DryVolume, true);
    VstMidiEvent controller{kVstMidiType, sizeof(VstMidiEvent), 0, 0, 0, 0, {char(0xB0), 7, 64}, 0, 0, 0, 0};
    VstEvents events{1, 0, {reinterpret_cast<VstEvent*>(&controller), nullptr}};
    plugin.processEvents(&events);
    plugin.setParameter(Param::ReverseTriggerMode, 1.1f / 2.99f);  // "Manual"
    plugin.setParameter(Param::ReverseTrigger, 1.0f);
    effect.idleLater();
    EXPECT_EQ(trigger->getValue(), 1.0f);
    plugin.processReplacing(in, out, 64);  // the controller arrives; the press starts a take and falls back
    effect.idleLater();
    EXPECT_EQ(dry->getValue(), 0.5f);
    EXPECT_EQ(trigger->getValue(), 0.0f);

    dry->beginEdit();
    plugin.setParameter(Param::DryVolume, 0.25f);
    effect.idleLater();
    EXPECT_EQ(dry->getValue(), 0.5f);
    dry->endEdit();
    effect.idleLater();
    EXPECT_EQ(dry->getValue(), 0.25f);
}

TEST_F(EditorFollowsTheEffect, UserChangesReachTheEffect) {
    auto click = [](CControl* control) {
        CPoint where = control->getViewSize().getTopLeft();
        control->onMouseDown(where, CButtonState(kLButton));
        return where;
    };

    TKnob* wet = viewWithTag<TKnob>(*frame, Param::WetVolume);
    wet->setValue(0.0f);
    CPoint where = click(wet);
    where.y -= 100;
    wet->onMouseMoved(where, CButtonState(kLButton));
    wet->onMouseUp(where, CButtonState());
    EXPECT_FLOAT_EQ(plugin.getParameter(Param::WetVolume), 0.5f);

    click(viewWithTag<TOnOffButton>(*frame, Param::Mute));
    EXPECT_EQ(plugin.getParameter(Param::Mute), 1.0f);

    // "LFO Phase" "270 Deg" sends 1.1667, which the effect keeps as 1.
    ScriptedPresenter presenter;
    TOptionMenu* phase = viewWithTag<TOptionMenu>(*frame, Param::LfoPhase);
    presenter.answer = {phase, 3};
    frame->setMenuPresenter(&presenter);
    click(phase);
    EXPECT_EQ(plugin.getParameter(Param::LfoPhase), 1.0f);
    // "Preset 33 - 64", entry 13: the last factory preset.
    TOptionMenu* preset = viewsOf<TOptionMenu>(*frame).front();
    presenter.answer = {preset->getEntry(1)->getSubmenu(), 13};
    click(preset);
    char name[64] = {};
    plugin.getProgramName(name);
    EXPECT_STREQ(name, "Voice Mad");
    frame->setMenuPresenter(nullptr);

    click(viewsOf<TRadioButton>(*frame)[1]);  // "Manual"
    EXPECT_EQ(plugin.getReverseTriggerMode(), 1);
    click(viewWithTag<TOnOffButton>(*frame, uEditor::kOffsetLockTag));  // no parameter: read by idle
    effect.idleLater();
    EXPECT_TRUE(plugin.getLockOffset());
}

// The audio thread and the editor's thread side by side: the engine leaves
// word for the editor in the effect and never touches a view, while the
// window opens and closes. CI runs it under ThreadSanitizer.
TEST(EditorThreads, OpenIdleAndCloseWhileAudioRuns) {
    EffectWithEditor effect;
    APlugin& plugin = *effect.plugin;
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> in(256), outLeft(256), outRight(256);
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        for (long frame = 0; running.load();) {
            for (float& sample : in) {  // bursts loud enough to start takes
                sample = (frame / 11025) % 2 == 0 ? 0.8f * std::sin(0.05f * static_cast<float>(frame)) : 0.0f;
                ++frame;
            }
            plugin.processReplacing(inputs, outputs, 256);
            plugin.setParameter(Param::WetVolume, static_cast<float>(frame % 1000) / 1000.0f);  // host automation
        }
    });
    for (int round = 0; round < 8; ++round) {
        ASSERT_NE(effect.openOffscreen(), nullptr);
        for (int tick = 0; tick < 5; ++tick) {
            effect.idleLater();
            if (tick == 2) plugin.setFactoryProgram(round % 5);  // the engine then asks for a refresh
        }
        plugin.dispatcher(effEditClose, 0, 0, nullptr, 0);
    }
    EXPECT_EQ(plugin.dispatcher(effEditOpen, 0, 0, nullptr, 0), 0);  // a host without a window
    running.store(false);
    audio.join();
}

}  // namespace
