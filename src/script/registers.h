#pragma once
// The S registers the engine itself reads or writes, and the values of the
// run-state modes. Scripts see the registers as S000 ... S999; everything not
// named here belongs to the scripts alone.

namespace veskar {

namespace reg {
constexpr int kSaveLoadRestriction = 0; // S000: which of save and load the player may use
constexpr int kRequestedMusic = 3;      // S003: the music number last asked for, 0 none
constexpr int kCurrentMusic = 5;        // S005: the music number playing, 0 none
constexpr int kNamesChanged = 6;        // S006: 1 when the player renamed a character
constexpr int kMenuState = 8;           // S008: menu and tool-strip availability word
constexpr int kBacktoPoint = 10;        // S010: where a saved choice resumes (`backto`), 0 none
constexpr int kFilter = 11;             // S011: colour filter of the scene
constexpr int kBrightness = 13;         // S013: brightness of the filter
constexpr int kSecondParts = 15;        // S015: the second parts picture is in use
constexpr int kTransitionSpeed = 16;    // S016: speed row of the transitions
constexpr int kWaitClicked = 19;        // S019: 1 when a timed wait was clicked away
constexpr int kOverlayOrder = 20;       // S020: overlay order; the circle transition's centre x
constexpr int kOverlayX = 21;           // S021: overlay x; the circle transition's centre y
constexpr int kOverlayY = 22;           // S022: overlay y
constexpr int kOverlayOpacity = 23;     // S023: overlay opacity
constexpr int kLineUpOrder = 24;        // S024: right-hand sprites drawn first when non-zero
constexpr int kReadMark = 25;           // S025: the read mark of the current passage
constexpr int kAutoLevel = 26;          // S026: auto mode speed 1-16, 0 auto mode off
constexpr int kLastAutoLevel = 27;      // S027: the level auto mode comes back with
constexpr int kSavingAllowed = 28;      // S028: 0 forbids saving and hiding the window
constexpr int kPageRecorded = 31;       // S031: page history bookkeeping
constexpr int kSymbolX = 32;            // S032: `manpu` symbol position x
constexpr int kSymbolY = 33;            // S033: `manpu` symbol position y
constexpr int kOverlayShown = 35;       // S035: the overlay is drawn
constexpr int kTextColour = 37;         // S037: colour of story text, 0x00BBGGRR
constexpr int kWrappedRow = 38;         // S038: the line wrapped onto a new row
constexpr int kMidPageWait = 39;        // S039: the page on screen is recorded but stays open
constexpr int kDatePanel = 50;          // S050: the player's date panel setting
constexpr int kWindowStyle = 51;        // S051: the player's message window style
constexpr int kClickHook = 56;          // S056: what a click does before anything else
constexpr int kMusicOnce = 57;          // S057: the next piece plays once, without its loop
constexpr int kQuickSkipLit = 60;       // S060: quick-bar skip button highlight
constexpr int kQuickAutoLit = 61;       // S061: quick-bar auto button highlight
constexpr int kSlotX = 80;              // S080 ... S089: line-up slot centres
constexpr int kSlotY = 90;              // S090 ... S099: line-up slot tops
constexpr int kClearCount = 100;        // S100: how often the game was cleared
constexpr int kFullScreenText = 150;    // S150: full-screen text mode
constexpr int kRecollectionState = 151; // S151: recollection recording state
constexpr int kRecollectionStep = 152;  // S152: recollection replay position
constexpr int kRecollectionMark = 153;  // S153: recollection recording mark

// Registers cleared at start-up before the definition is read (S000 ... S199).
constexpr int kStartupCleared = 200;
} // namespace reg

// `ScreenMode`: the activity that owns the screen.
namespace screen_mode {
constexpr int kPlay = 0;
constexpr int kWindowHidden = 1;
constexpr int kRoll = 3;
constexpr int kMap = 4;
constexpr int kStaffRoll = 5;
constexpr int kGallery = 6;
constexpr int kScroll = 7;
constexpr int kRecollection = 8;
constexpr int kPageRecall = 9;
} // namespace screen_mode

// `ClickWaitKind`: what the script waits a click for.
namespace click_wait {
constexpr int kNone = 0;
constexpr int kPageEnd = 1;     // "\": a click starts a new page
constexpr int kMidPage = 2;     // "=": only a click goes on, on the same page
constexpr int kPageEndKeep = 4; // "~": as "\", but the voice keeps playing
constexpr int kSilentEnd = 5;   // "+": a page end without the wait icon or a page record

// Kinds that a click, skip mode and auto mode release alike.
constexpr bool releasedByModes(int kind) {
    return kind == kPageEnd || kind == kPageEndKeep || kind == kSilentEnd;
}
} // namespace click_wait

} // namespace veskar
