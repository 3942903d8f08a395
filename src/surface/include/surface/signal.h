#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kansu {

// Keeps a slot connected for as long as it lives.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> disconnect) : disconnect_(std::move(disconnect)) {}
    Subscription(Subscription&& other) noexcept
        : disconnect_(std::exchange(other.disconnect_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            disconnect_ = std::exchange(other.disconnect_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset() {
        if (auto disconnect = std::exchange(disconnect_, {}))
            disconnect();
    }

private:
    std::function<void()> disconnect_;
};

// A model's announcement of a change: views connect a slot and are called, in the order they
// connected, each time the model notifies.
template <typename... Args> class Signal {
public:
    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    Signal(Signal&&) noexcept = default;
    Signal& operator=(Signal&&) noexcept = default;

    [[nodiscard]] Subscription connect(std::function<void(Args...)> slot) {
        const std::uint64_t id = ++slots_->lastId;
        slots_->entries.push_back({id, std::move(slot)});
        return Subscription([weak = std::weak_ptr<SlotList>(slots_), id] {
            if (const auto list = weak.lock())
                list->remove(id);
        });
    }

    void notify(Args... args) const {
        // By index, and removals wait until the outermost emission ends: a slot may connect or
        // disconnect others while it runs.
        const auto list = slots_;
        struct Emitting {
            SlotList& list;
            explicit Emitting(SlotList& s) : list(s) { ++list.emitting; }
            ~Emitting() {
                if (--list.emitting == 0)
                    list.sweep();
            }
        } emitting(*list);
        for (std::size_t i = 0; i < list->entries.size(); ++i)
            if (const auto slot = list->entries[i].slot) // a copy: the list may grow meanwhile
                slot(args...);
    }

private:
    struct Entry {
        std::uint64_t id;
        std::function<void(Args...)> slot;
    };
    struct SlotList {
        std::vector<Entry> entries;
        std::uint64_t lastId = 0;
        int emitting = 0;
        void remove(std::uint64_t id) {
            for (Entry& e : entries)
                if (e.id == id)
                    e.slot = nullptr;
            if (emitting == 0)
                sweep();
        }
        void sweep() {
            std::erase_if(entries, [](const Entry& e) { return !e.slot; });
        }
    };
    std::shared_ptr<SlotList> slots_ = std::make_shared<SlotList>();
};

} // namespace kansu
