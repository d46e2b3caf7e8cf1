/*
 * The registrations of one kind of plug-in callback. A callback may register
 * or unregister callbacks of its kind while they are being called: a removed
 * entry is only marked while a walk runs, and erased once none does, so the
 * walk's entries and the handles given out stay valid.
 */
#ifndef SIMHOST_REGISTRATIONS_H
#define SIMHOST_REGISTRATIONS_H

#include <algorithm>
#include <memory>
#include <vector>

namespace simhost {

// Entry has a `bool removed`.
template <typename Entry>
class Registrations {
public:
    // The entry is the handle: it stays valid until removed.
    Entry *add(std::unique_ptr<Entry> entry)
    {
        entries_.push_back(std::move(entry));
        return entries_.back().get();
    }

    // The first entry not removed that matches, or nullptr.
    template <typename Match>
    Entry *find(Match match) const
    {
        for (const auto &entry : entries_) {
            if (!entry->removed && match(*entry))
                return entry.get();
        }
        return nullptr;
    }

    void remove(Entry *entry)
    {
        entry->removed = true;
        purge();
    }

    // Calls visit on each entry there when the walk starts that is not
    // removed by the time its turn comes; entries added meanwhile wait for
    // the next walk.
    template <typename Visit>
    void walk(Visit visit)
    {
        walking_++;
        const size_t count = entries_.size();
        for (size_t i = 0; i < count; i++) {
            if (!entries_[i]->removed)
                visit(*entries_[i]);
        }
        walking_--;
        purge();
    }

    int count() const
    {
        return static_cast<int>(
            std::count_if(entries_.begin(), entries_.end(), [](const auto &e) { return !e->removed; }));
    }

    void clear()
    {
        for (auto &entry : entries_)
            entry->removed = true;
        purge();
    }

private:
    void purge()
    {
        if (walking_ > 0)
            return;
        entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [](const auto &e) { return e->removed; }),
                       entries_.end());
    }

    std::vector<std::unique_ptr<Entry>> entries_;
    int walking_ = 0;
};

}  // namespace simhost

#endif
