// The mechanism behind the public and the private event tables: a row for
// each code with its translation and its delivery, the lookup, the list of
// codes and the step that translates one event and writes its message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "EventBlock.h"
#include "Json.h"

// Fills "params" from the event's block.
using Translate = void (*)(const EventBlock& block, Json::Value& params);

// The translation of an event whose message carries "params" null.
inline void noParams(const EventBlock&, Json::Value&) {}

// When a row's message is written: at once, or a while later through the
// delayed sender, so that the events after it overtake it.
enum class Delivery { Now, Delayed };

struct EventRow {
    // The code is spelled twice, as its number and as the library's constant,
    // so that a search for either finds the row and the constant says what it
    // is. The tables are constant expressions, and there the throw of a row
    // whose two disagree does not compile.
    constexpr EventRow(int32_t number, int32_t constant, Translate translateBlock, Delivery delivery = Delivery::Now)
        : code(number == constant ? number : throw "the number and the constant name two codes"),
          translate(translateBlock),
          when(delivery) {}

    int32_t code;
    Translate translate;
    Delivery when;
};

// One family's table and the name its log lines and messages go under.
class EventTable {
public:
    template <std::size_t Count>
    constexpr EventTable(const EventRow (&rows)[Count], const char* sender)
        : rows_(rows), count_(Count), sender_(sender) {}

    // The codes with a row, in the table's order.
    std::vector<int32_t> codes() const;

    // The row of `code`, or null.
    const EventRow* find(int32_t code) const;

    // Translates one event of this family by its row and writes the message
    // as the row says; a code without a row is written at once with "params"
    // null.
    void translateAndSend(int32_t code, const std::vector<unsigned char>& bytes) const;

private:
    const EventRow* rows_;
    std::size_t count_;
    const char* sender_;
};
