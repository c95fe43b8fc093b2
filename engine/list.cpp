// TList's removal, compaction and deferred release.
#include "engine/list.h"

int TList::walk_depth_ = 0;
std::vector<TObject*> TList::released_;

TList::~TList() { clear(); }

TList* create_list() { return new TList(); }

void TList::append(TObject* object) {
    if (!object || object->owner_) return;
    object->owner_ = this;
    object->slot_ = slots_.size();
    slots_.push_back(object);
    last_live_ = object->slot_;
    ++live_;
}

void TList::remove(TObject* object) {
    if (!contains(object)) return;
    const size_t at = object->slot_;
    slots_[at] = nullptr;
    object->owner_ = nullptr;
    --live_;
    ++holes_;
    if (live_ > 0 && at == last_live_) {
        size_t i = at;
        while (i > 0 && !slots_[i - 1]) --i;
        last_live_ = i - 1;
    }
    if (walking_ == 0) compact();
    release(object);
}

void TList::clear() {
    // Counted as a walk so that the slots are not compacted under the loop.
    ++walking_;
    for (size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i]) remove(slots_[i]);
    --walking_;
    if (walking_ == 0) compact();
}

void TList::begin_walk() {
    ++walking_;
    ++walk_depth_;
}

void TList::end_walk() {
    --walking_;
    --walk_depth_;
    if (walking_ == 0) compact();
    if (walk_depth_ == 0) flush_released();
}

void TList::compact() {
    if (holes_ == 0) return;
    size_t out = 0;
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (!slots_[i]) continue;
        slots_[out] = slots_[i];
        slots_[out]->slot_ = out;
        ++out;
    }
    slots_.resize(out);
    holes_ = 0;
    last_live_ = out ? out - 1 : 0;
}

void TList::release(TObject* object) {
    if (walk_depth_ > 0) {
        released_.push_back(object);
    } else {
        delete object;
    }
}

void TList::flush_released() {
    // Deleting may not start walks, but take the vector first in case a destructor removes more.
    while (!released_.empty()) {
        TObject* o = released_.back();
        released_.pop_back();
        delete o;
    }
}
