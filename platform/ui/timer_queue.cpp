#include "platform/ui/timer_queue.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/ui_runtime.h"

#include <QTimer>

#include <algorithm>
#include <chrono>
#include <vector>

namespace timerq {
namespace {

struct Entry {
    std::shared_ptr<WndLife> life;
    UINT_PTR id;
    UINT elapse;
    std::int64_t due;
    std::uint64_t seq; // orders timers due at the same moment
};

struct Queue {
    std::vector<Entry> entries;
    std::uint64_t nextSeq = 1;
    bool virtualClock = false;
    std::int64_t virtualNow = 0;
    QTimer* driver = nullptr;
};

Queue& Q()
{
    static Queue q;
    return q;
}

std::int64_t RealNow()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Rearm();

// Index of the earliest entry due at or before limit, or -1.
int EarliestDue(std::int64_t limit)
{
    const Queue& q = Q();
    int best = -1;
    for (int i = 0; i < int(q.entries.size()); ++i) {
        const Entry& e = q.entries[size_t(i)];
        if (e.due > limit)
            continue;
        if (best < 0 || e.due < q.entries[size_t(best)].due
            || (e.due == q.entries[size_t(best)].due && e.seq < q.entries[size_t(best)].seq))
            best = i;
    }
    return best;
}

// Fires one entry at time `at`; the handler may set, kill or destroy anything.
void Fire(int index, std::int64_t at)
{
    Queue& q = Q();
    Entry& e = q.entries[size_t(index)];
    e.due = at + std::max<UINT>(e.elapse, 1);
    e.seq = q.nextSeq++;
    std::shared_ptr<WndLife> life = e.life;
    const UINT_PTR id = e.id;
    if (life->wnd == nullptr) {
        q.entries.erase(q.entries.begin() + index);
        return;
    }
    life->wnd->SendMessage(WM_TIMER, id, 0);
}

int RunUntil(std::int64_t limit, bool moveVirtualClock)
{
    int fired = 0;
    for (;;) {
        const int i = EarliestDue(limit);
        if (i < 0)
            break;
        const std::int64_t at = Q().entries[size_t(i)].due;
        if (moveVirtualClock && at > Q().virtualNow)
            Q().virtualNow = at;
        Fire(i, moveVirtualClock ? at : limit);
        ++fired;
    }
    return fired;
}

void Rearm()
{
    Queue& q = Q();
    if (q.virtualClock || !uirt::IsGuiThread())
        return;
    if (q.entries.empty()) {
        if (q.driver != nullptr)
            q.driver->stop();
        return;
    }
    if (q.driver == nullptr) {
        uirt::EnsureApplication();
        q.driver = new QTimer;
        q.driver->setSingleShot(true);
        q.driver->setTimerType(Qt::PreciseTimer);
        QObject::connect(q.driver, &QTimer::timeout, [] { RunDue(); });
    }
    std::int64_t earliest = q.entries.front().due;
    for (const Entry& e : q.entries)
        earliest = std::min(earliest, e.due);
    q.driver->start(int(std::clamp<std::int64_t>(earliest - RealNow(), 0, 1 << 30)));
}

} // namespace

UINT_PTR Set(const std::shared_ptr<WndLife>& life, UINT_PTR id, UINT elapseMs)
{
    Queue& q = Q();
    const std::int64_t due = NowMs() + std::max<UINT>(elapseMs, 1);
    for (Entry& e : q.entries) {
        if (e.life.get() == life.get() && e.id == id) {
            e.elapse = elapseMs;
            e.due = due;
            e.seq = q.nextSeq++;
            Rearm();
            return id;
        }
    }
    q.entries.push_back({life, id, elapseMs, due, q.nextSeq++});
    Rearm();
    return id;
}

bool Kill(const WndLife* life, UINT_PTR id)
{
    auto& v = Q().entries;
    auto it = std::find_if(v.begin(), v.end(), [&](const Entry& e) { return e.life.get() == life && e.id == id; });
    if (it == v.end())
        return false;
    v.erase(it);
    Rearm();
    return true;
}

void KillAll(const WndLife* life)
{
    auto& v = Q().entries;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const Entry& e) { return e.life.get() == life; }), v.end());
    Rearm();
}

bool IsSet(const WndLife* life, UINT_PTR id)
{
    for (const Entry& e : Q().entries) {
        if (e.life.get() == life && e.id == id)
            return true;
    }
    return false;
}

int Count() { return int(Q().entries.size()); }

void UseVirtualClock(bool on)
{
    Queue& q = Q();
    if (q.virtualClock == on)
        return;
    // Pending timers keep their remaining time across the switch.
    const std::int64_t oldNow = NowMs();
    q.virtualClock = on;
    const std::int64_t newNow = NowMs();
    for (Entry& e : q.entries)
        e.due += newNow - oldNow;
    if (on && q.driver != nullptr)
        q.driver->stop();
    Rearm();
}

bool VirtualClock() { return Q().virtualClock; }

std::int64_t NowMs()
{
    return Q().virtualClock ? Q().virtualNow : RealNow();
}

int Advance(std::int64_t ms)
{
    Queue& q = Q();
    if (!q.virtualClock)
        return RunDue();
    const std::int64_t target = q.virtualNow + std::max<std::int64_t>(ms, 0);
    const int fired = RunUntil(target, true);
    q.virtualNow = target;
    return fired;
}

int RunDue()
{
    const int fired = RunUntil(NowMs(), Q().virtualClock);
    Rearm();
    return fired;
}

} // namespace timerq
