// The editor's whole life, again and again, while a host's other threads
// keep working: audio with its MIDI on the audio thread, automation on a
// thread of its own. The window opens inside a host window on a private
// Xvfb, turns to the settings page and back by clicks that reach it as X
// events, and closes, sometimes with the page showing. CI runs this under
// ThreadSanitizer and AddressSanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>
#include <vector>

#include "resources/FrontPanelLayout.h"
#include "resources/SettingsPageLayout.h"
#include "tests/editor/EditorTestSupport.h"
#include "tests/plugin/PluginTestSupport.h"
#include "tests/support/XServer.h"

// Last: Xlib's macros (None, Bool) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

using namespace std::chrono_literals;
namespace layout = tidewalker::layout;

// Always a private Xvfb: never a desktop, never a server another test uses.
const int ownDisplay = unsetenv("DISPLAY");
const auto* const xServer = ::testing::AddGlobalTestEnvironment(new tidewalker::testing::PrivateXServer);

constexpr int kGearMiddle = 14;    // the settings key is 28 x 28 at 100 %
constexpr int kSwitchMiddle = 11;  // the switches are 22 x 22
constexpr int kMidiPresetSwitch = 1;
constexpr VstInt32 kBlock = 256;

// A playing transport at 120 BPM; where it stands follows the audio thread's blocks.
std::atomic<double> hostBeats{0.0};
std::atomic<int> badHostCalls{0};

VstIntPtr soakHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float value) {
    thread_local VstTimeInfo time{};
    switch (opcode) {
    case audioMasterVersion: return 2400;
    case audioMasterGetTime:
        time.sampleRate = 44100.0;
        time.tempo = 120.0;
        time.ppqPos = hostBeats.load(std::memory_order_relaxed);
        time.timeSigNumerator = time.timeSigDenominator = 4;
        time.flags = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid;
        return reinterpret_cast<VstIntPtr>(&time);
    case audioMasterAutomate:
        if (index < 0 || index >= kNumEditorSlots || !(value >= 0.0f && value <= 1.0f)) ++badHostCalls;
        return 0;
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        if (index < 0 || index >= kNumEditorSlots) ++badHostCalls;
        return 0;
    default: return 0;
    }
}

// Clicks reach the editor as the X server would deliver them, through the
// same event queue its idle pumps.
struct ClickSender {
    Display* display;
    Window window;
    Time time = 1;

    void send(int type, int x, int y) {
        XEvent event{};
        XButtonEvent& button = event.xbutton;
        button.type = type;
        button.display = display;
        button.window = window;
        button.root = DefaultRootWindow(display);
        button.time = time += 1000;  // never a double click
        button.x = button.x_root = x;
        button.y = button.y_root = y;
        button.state = type == ButtonRelease ? Button1Mask : 0;
        button.button = Button1;
        button.same_screen = True;
        XSendEvent(display, window, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
    }
    void click(int x, int y) {
        send(ButtonPress, x, y);
        send(ButtonRelease, x, y);
        XSync(display, False);
    }
};

TEST(EditorSoak, OpenTurnToTheSettingsPageAndBackAndCloseWhileAudioMidiAndAutomationRun) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "no X display and no Xvfb";
    const Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, layout::FRAME_WIDTH,
                                              layout::FRAME_HEIGHT, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);

    editortest::EffectWithEditor owner(nullptr, nullptr, soakHost);
    AEffect* effect = owner.plugin->getAeffect();
    uEditor& editor = *owner.editor;
    const auto dispatch = [&](VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr) {
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    };
    dispatch(effMainsChanged, 1);

    // The host's other threads, stopped however the test ends.
    struct HostThreads {
        std::atomic<bool> running{true};
        std::vector<std::thread> threads;
        void stop() {
            running.store(false);
            for (std::thread& thread : threads)
                if (thread.joinable()) thread.join();
        }
        ~HostThreads() { stop(); }
    } host;
    host.threads.emplace_back([&] {
        std::vector<float> in(kBlock), outLeft(kBlock), outRight(kBlock);
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        for (long block = 0, sample = 0; host.running.load(); ++block) {
            for (float& x : in) {  // bursts loud enough to start takes
                x = (sample / 11025) % 2 == 0 ? 0.8f * std::sin(0.05f * static_cast<float>(sample)) : 0.0f;
                ++sample;
            }
            // Controllers every block (learned ones drive parameters), a
            // program change now and then (it also turns the settings page
            // back), as the audio thread receives them.
            std::vector<VstMidiEvent> events = {midiEvent(0xB0, 7, static_cast<int>(block % 128), 3),
                                                midiEvent(0xB0, 74, static_cast<int>(block * 5 % 128), 100)};
            if (block % 50 == 0) events.push_back(midiEvent(0xC0, static_cast<int>(block / 50 % 46), 0, 17));
            EventBlock midi(std::move(events));
            dispatch(effProcessEvents, 0, midi.block());
            effect->processReplacing(effect, inputs, outputs, kBlock);
            hostBeats.store(static_cast<double>(sample) / 22050.0, std::memory_order_relaxed);
            std::this_thread::sleep_for(1ms);  // about a block's time: the machine is shared
        }
    });
    host.threads.emplace_back([&] {  // a few slots past the parameters too
        for (int step = 0; host.running.load(); ++step) {
            effect->setParameter(effect, step % (kNumEditorSlots + 4), static_cast<float>(step % 101) / 100.0f);
            if (step % 16 == 0) std::this_thread::sleep_for(1ms);
        }
    });

    // Idles as a host's timer would, `ticks` times or until `done` holds.
    const auto idle = [&](int ticks, auto done) {
        for (int tick = 0; tick < ticks && !done(); ++tick) {
            dispatch(effEditIdle);
            std::this_thread::sleep_for(2ms);
        }
        return done();
    };
    const auto never = [] { return false; };
    const auto start = std::chrono::steady_clock::now();
    int rounds = 0;
    for (; rounds < 3 || (rounds < 40 && std::chrono::steady_clock::now() - start < 2s); ++rounds) {
        ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(parent)), 1);
        Window root, up, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, parent, &root, &up, &children, &count);
        ASSERT_EQ(count, 1u);
        ClickSender user{display, children[0]};
        XFree(children);
        // The menu would latch a controller from this thread.
        owner.plugin->setMidiLatch(rounds % 2 ? Param::WetVolume : Param::DryVolume, true);

        idle(5, never);
        user.click(layout::SETTINGS_BUTTON.x + kGearMiddle, layout::SETTINGS_BUTTON.y + kGearMiddle);
        ASSERT_TRUE(idle(200, [&] { return editor.isBacksideShown(); })) << "round " << rounds;
        const auto& midiPreset = layout::SETTINGS_SWITCHES[kMidiPresetSwitch];
        // Stored here, read by the audio thread (a program change may have
        // turned the page back already: then the click lands on the panel).
        user.click(midiPreset.x + kSwitchMiddle, midiPreset.y + kSwitchMiddle);
        idle(5, never);
        if (rounds % 3 != 2) {  // every third window closes on the page
            user.click(40, 40);
            ASSERT_TRUE(idle(200, [&] { return !editor.isBacksideShown(); })) << "round " << rounds;
        }
        dispatch(effEditClose);
        EXPECT_FALSE(editor.isEditorOpen());
        EXPECT_EQ(editor.getFrame(), nullptr);
    }
    host.stop();
    EXPECT_EQ(badHostCalls.load(), 0);
    RecordProperty("rounds", rounds);
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
}

}  // namespace
