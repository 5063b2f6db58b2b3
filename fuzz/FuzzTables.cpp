// fuzz_tables: prints the host's own tables for fuzz/make-corpus.sh, which
// writes the seed corpora and the dictionaries from them, one entry a line.
//
// Usage: fuzz_tables request-names <catalogue.json>
//          the dispatch table's request types, then every member name that
//          the catalogue lists for a request or its reply
//        fuzz_tables event-codes
//          the codes of the public, then the private event table
//        fuzz_tables portal-answer-event
//          the code of the private event that carries the portal's answers
//        fuzz_tables portal-answer-kinds
//          the typeRequest of each portal answer the translator knows
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "Json.h"
#include "OutEventHandler.h"
#include "OutEventHandler/PortalAnswers.h"
#include "RequestHandler.h"
#include "TavmoClient.h"

namespace {

// The handlers read their members by name, one call at a time, and keep no
// list of them; the catalogue, checked against the protocol document and the
// dispatch table, does.
bool printMemberNames(const char* cataloguePath) {
    std::ifstream file(cataloguePath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Json::Value catalogue;
    if (!file || !json::parse(text, catalogue) || !catalogue["requests"].isArray()) {
        std::cerr << "fuzz_tables: cannot read the catalogue " << cataloguePath << "\n";
        return false;
    }
    for (const Json::Value& request : catalogue["requests"])
        for (const char* list : {"members", "reply"})
            for (const Json::Value& member : request[list]) std::cout << member["name"].asString() << "\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "request-names" && argc == 3) {
        for (const std::string& type : requestTypes()) std::cout << type << "\n";
        return printMemberNames(argv[2]) ? 0 : 1;
    }
    if (mode == "event-codes" && argc == 2) {
        for (int32_t code : publicEventCodes()) std::cout << code << "\n";
        for (int32_t code : privateEventCodes()) std::cout << code << "\n";
        return 0;
    }
    if (mode == "portal-answer-event" && argc == 2) {
        std::cout << TAVMO_CLIENT_PRIVATE_OUT_EVENT_VCSOAP << "\n";
        return 0;
    }
    if (mode == "portal-answer-kinds" && argc == 2) {
        for (const PortalAnswerType& kind : portalAnswerTypes()) std::cout << kind.typeRequest << "\n";
        return 0;
    }
    std::cerr << "usage: " << argv[0]
              << " request-names <catalogue.json> | event-codes | portal-answer-event | portal-answer-kinds\n";
    return 2;
}
