#include "RequestHandler/InEventSupport.h"

#include "JsonValues.h"

namespace {

const Json::Value* findMember(const Json::Value& request, const char* key) {
    return request.find(key, key + std::char_traits<char>::length(key));
}

}  // namespace

bool answerInEvent(Json::Value& request, const char* handler, int32_t code, const char* constantName, void* record,
                   uint32_t size) {
    if (!sendInEvent(request, handler, code, constantName, record, size)) return false;
    setResultOk(request);
    return true;
}

bool readFlagMemberOr(const Json::Value& request, const char* key, bool defaultValue) {
    return findMember(request, key) ? readFlagMember(request, key) : defaultValue;
}

std::string readChoiceMember(const Json::Value& request, const char* key, const std::string& defaultValue) {
    const Json::Value* member = findMember(request, key);
    if (!member) return defaultValue;
    if (member->isNumeric() && !member->isBool()) throw Json::LogicError("Type is not convertible to string");
    return member->asString();
}
