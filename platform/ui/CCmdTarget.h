#pragma once
// Objects that receive commands, and the message maps that bind command ids,
// control notifications and application messages to member functions.
//
//   BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
//       ON_COMMAND(57600, OnFileNew)
//       ON_UPDATE_COMMAND_UI(32805, OnUpdateSave)
//       ON_BN_CLICKED(1003, OnOptionSwitch)
//       ON_MESSAGE(WM_USER + 101, OnPacket)
//       ON_WM_TIMER()
//   END_MESSAGE_MAP()
//
// The standard window messages (timer, size, mouse, keys, paint...) reach
// their virtual handlers whether or not the map names them; their ON_WM_
// entries are accepted for readability and add nothing.

#include "platform/core/CObject.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/wintypes.h"

class CCmdTarget;
class CCmdUI;

enum class MsgKind : std::uint8_t {
    End,
    Message,  // ON_MESSAGE: LRESULT f(WPARAM, LPARAM)
    Command,  // ON_COMMAND / ON_CONTROL: a command id or a control's notification
    UpdateUI, // ON_UPDATE_COMMAND_UI: void f(CCmdUI*)
    Notify,   // ON_NOTIFY: void f(NMHDR*, LRESULT*)
};

// One handler. The thunk casts the target to the class of the map; the
// meaning of wParam/lParam depends on the kind (see CCmdTarget.cpp).
struct MsgMapEntry {
    MsgKind kind;
    UINT message; // Message: the message number
    UINT code;    // Command: notification code (0 = plain command); Notify: NMHDR code
    UINT idFirst;
    UINT idLast;
    LRESULT (*thunk)(CCmdTarget* target, UINT id, WPARAM wParam, LPARAM lParam);
};

struct MsgMap {
    const MsgMap* (*base)();
    const MsgMapEntry* entries;
};

// Command code passed to OnCmdMsg when the id asks for its update handler.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Runs this object's handler of command nID with notification code nCode
    // (CN_COMMAND, a control code, or CN_UPDATE_COMMAND_UI with pExtra the
    // CCmdUI*). True when a handler was found. Frames and views override it
    // to route through the view, document, frame and application.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    // The handler of an ON_MESSAGE entry, if any; true when one ran.
    BOOL DispatchMappedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The ON_NOTIFY handler of control id for code; true when one ran.
    BOOL DispatchNotify(UINT id, NMHDR* header, LRESULT* result);

protected:
    static const MsgMap* GetThisMessageMap();
    virtual const MsgMap* GetMessageMap() const;

private:
    const MsgMapEntry* FindEntry(MsgKind kind, UINT message, UINT code, UINT id) const;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const MsgMap* GetThisMessageMap(); \
    const MsgMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const MsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MsgMap* theClass::GetThisMessageMap() \
    { \
        using ThisClass = theClass; \
        using TheBaseClass = baseClass; \
        static_assert(sizeof(ThisClass) > 0); \
        static const MsgMapEntry entries[] = {

#define END_MESSAGE_MAP() \
            {MsgKind::End, 0, 0, 0, 0, nullptr}}; \
        static const MsgMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map; \
    }

#define ON_COMMAND(id, memberFxn) \
    {MsgKind::Command, 0, 0, UINT(id), UINT(id), \
     [](CCmdTarget* t, UINT, WPARAM, LPARAM) -> LRESULT { static_cast<ThisClass*>(t)->memberFxn(); return 0; }},

#define ON_COMMAND_RANGE(idFirst, idLast, memberFxn) \
    {MsgKind::Command, 0, 0, UINT(idFirst), UINT(idLast), \
     [](CCmdTarget* t, UINT id, WPARAM, LPARAM) -> LRESULT { static_cast<ThisClass*>(t)->memberFxn(id); return 0; }},

#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {MsgKind::UpdateUI, 0, 0, UINT(id), UINT(id), \
     [](CCmdTarget* t, UINT, WPARAM w, LPARAM) -> LRESULT { \
         static_cast<ThisClass*>(t)->memberFxn(reinterpret_cast<CCmdUI*>(w)); return 0; }},

#define ON_UPDATE_COMMAND_UI_RANGE(idFirst, idLast, memberFxn) \
    {MsgKind::UpdateUI, 0, 0, UINT(idFirst), UINT(idLast), \
     [](CCmdTarget* t, UINT, WPARAM w, LPARAM) -> LRESULT { \
         static_cast<ThisClass*>(t)->memberFxn(reinterpret_cast<CCmdUI*>(w)); return 0; }},

#define ON_MESSAGE(message, memberFxn) \
    {MsgKind::Message, UINT(message), 0, 0, 0, \
     [](CCmdTarget* t, UINT, WPARAM w, LPARAM l) -> LRESULT { return static_cast<ThisClass*>(t)->memberFxn(w, l); }},

#define ON_CONTROL(code, id, memberFxn) \
    {MsgKind::Command, 0, UINT(code), UINT(id), UINT(id), \
     [](CCmdTarget* t, UINT, WPARAM, LPARAM) -> LRESULT { static_cast<ThisClass*>(t)->memberFxn(); return 0; }},

#define ON_CONTROL_RANGE(code, idFirst, idLast, memberFxn) \
    {MsgKind::Command, 0, UINT(code), UINT(idFirst), UINT(idLast), \
     [](CCmdTarget* t, UINT id, WPARAM, LPARAM) -> LRESULT { static_cast<ThisClass*>(t)->memberFxn(id); return 0; }},

#define ON_NOTIFY(code, id, memberFxn) \
    {MsgKind::Notify, 0, UINT(code), UINT(id), UINT(id), \
     [](CCmdTarget* t, UINT, WPARAM w, LPARAM l) -> LRESULT { \
         static_cast<ThisClass*>(t)->memberFxn(reinterpret_cast<NMHDR*>(w), reinterpret_cast<LRESULT*>(l)); return 0; }},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// Standard messages reach their virtual handlers without an entry.
#define ON_WM_CREATE()
#define ON_WM_DESTROY()
#define ON_WM_CLOSE()
#define ON_WM_SIZE()
#define ON_WM_PAINT()
#define ON_WM_TIMER()
#define ON_WM_SETCURSOR()
#define ON_WM_SETFOCUS()
#define ON_WM_KILLFOCUS()
#define ON_WM_KEYDOWN()
#define ON_WM_KEYUP()
#define ON_WM_CHAR()
#define ON_WM_MOUSEMOVE()
#define ON_WM_MOUSEWHEEL()
#define ON_WM_LBUTTONDOWN()
#define ON_WM_LBUTTONUP()
#define ON_WM_LBUTTONDBLCLK()
#define ON_WM_RBUTTONDOWN()
#define ON_WM_RBUTTONUP()
#define ON_WM_MBUTTONDOWN()
#define ON_WM_MBUTTONUP()
#define ON_WM_ERASEBKGND()
#define ON_WM_SHOWWINDOW()
#define ON_WM_SYSCOMMAND()
#define ON_WM_COPYDATA()
#define ON_WM_CTLCOLOR()
#define ON_WM_QUERYDRAGICON()
#define ON_WM_DRAWITEM()
