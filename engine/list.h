// TList: the ordered object lists of the game, safe to change while they are walked.
//
// Contract of a walk (list.walk(f) calls f on each element from first to last):
//  - the element just handed out may remove itself, and any other element may be removed; a
//    removed element that has not been reached yet is skipped, no element is visited twice;
//  - elements appended during the walk are reached by it as long as the walk has not yet handed
//    out the element that was last when it was handed out;
//  - a removed object stays alive until every walk in progress (on any list) has returned, so an
//    update that removed its own object may go on moving and drawing it;
//  - a walk allocates nothing; removal is O(1), holes are compacted when no walk is running.
// The list owns its objects: removal (or clear) ends them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TList;

// Base of every game object. `class_bits` holds the bits of its class and of its base classes, so
// an "is a" test is one AND (the name leaves `kind` free for the game classes' own fields).
struct TObject {
    explicit TObject(uint32_t bits) : class_bits(bits) {}
    virtual ~TObject() = default;
    virtual void update() {}
    bool is_a(uint32_t bits) const { return (class_bits & bits) != 0; }

    const uint32_t class_bits;

  private:
    friend class TList;
    TList* owner_ = nullptr;
    size_t slot_ = 0;
};

class TList {
  public:
    TList() = default;
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;
    ~TList();

    void append(TObject* object);  // takes ownership
    void remove(TObject* object);  // no-op when the object is not in this list
    void clear();                  // removes every object
    size_t count() const { return live_; }
    bool empty() const { return live_ == 0; }
    bool contains(const TObject* object) const { return object && object->owner_ == this; }

    template <class F>
    void walk(F&& f) {
        begin_walk();
        size_t i = 0;
        while (true) {
            while (i < slots_.size() && !slots_[i]) ++i;
            if (i >= slots_.size()) break;
            TObject* object = slots_[i];
            const bool was_last = (i == last_live_);
            f(object);
            if (was_last) break;
            ++i;
        }
        end_walk();
    }

    // Calls f on each element whose class bits include any of `bits`.
    template <class F>
    void walk_kind(uint32_t bits, F&& f) {
        walk([&](TObject* o) {
            if (o->is_a(bits)) f(o);
        });
    }

    // Objects removed while any walk runs are released when the outermost walk returns.
    static int walks_running() { return walk_depth_; }

  private:
    void begin_walk();
    void end_walk();
    void compact();
    static void release(TObject* object);
    static void flush_released();

    std::vector<TObject*> slots_;  // nullptr: a removed element's hole
    size_t live_ = 0;
    size_t holes_ = 0;
    size_t last_live_ = 0;  // slot of the last live element (valid while live_ > 0)
    int walking_ = 0;

    static int walk_depth_;
    static std::vector<TObject*> released_;
};

TList* create_list();
