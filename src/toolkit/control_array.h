#pragma once
// A control array: controls of one kind that share a name and a handler, addressed by
// index. Members beyond those of the design are created at run time as hidden copies of
// member 0. Addressing a member that does not exist raises SubscriptOutOfRange, which a
// handler's error trap can catch.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/errors.h"

namespace pelmora {

class ControlArrayBase {
public:
    explicit ControlArrayBase(std::string name, bool isArray)
        : name_(std::move(name)), isArray_(isArray) {}
    virtual ~ControlArrayBase() = default;
    ControlArrayBase(const ControlArrayBase&) = delete;
    ControlArrayBase& operator=(const ControlArrayBase&) = delete;

    const std::string& name() const { return name_; }
    bool isArray() const { return isArray_; }
    virtual std::vector<Control*> members() const = 0;

private:
    std::string name_;
    bool isArray_;
};

template <class T> class ControlArray final : public ControlArrayBase {
public:
    using ControlArrayBase::ControlArrayBase;

    // Member `index`; raises SubscriptOutOfRange when there is none.
    T& operator()(int index) const {
        const auto it = members_.find(index);
        if (it == members_.end())
            throw RuntimeError(ErrorCode::SubscriptOutOfRange,
                               "no member " + std::to_string(index) + " in " + name());
        return *it->second;
    }
    // The only member of a plain (non-array) control.
    T& only() const { return (*this)(isArray() ? 0 : -1); }

    bool contains(int index) const { return members_.count(index) != 0; }
    std::size_t count() const { return members_.size(); }

    // Creates member `index` as a copy of member 0 that starts hidden and carries its own
    // index; every other property, the handler included, is member 0's.
    T& load(int index) {
        if (index < 0 || index > INT16_MAX || contains(index))
            throw RuntimeError(ErrorCode::SubscriptOutOfRange,
                               "cannot create member " + std::to_string(index) + " of " + name());
        auto member = std::make_unique<T>((*this)(0));
        Control& base = *member;
        base.index_ = static_cast<std::int16_t>(index);
        base.visible_ = false;
        return add(std::move(member));
    }

    T& add(std::unique_ptr<T> member) {
        T& ref = *member;
        members_[ref.index()] = std::move(member);
        return ref;
    }

    std::vector<Control*> members() const override {
        std::vector<Control*> out;
        for (const auto& [index, member] : members_) out.push_back(member.get());
        return out;
    }

private:
    std::map<int, std::unique_ptr<T>> members_;
};

} // namespace pelmora
