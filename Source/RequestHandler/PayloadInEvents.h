// In-events that carry data: shares, chats, display names, pinning, remote
// camera control, room settings, the speaker test's sound and dial tones.
#pragma once

#include <cstdint>
#include <string>

#include "Json.h"

void InEventShare(Json::Value& request);
void InEventGroupChat(Json::Value& request);
void InEventPrivateChat(Json::Value& request);
void InEventSetDisplayName(Json::Value& request);
void InEventResetDisplayName(Json::Value& request);
void InEventPinParticipant(Json::Value& request);
void InEventControlCamera(Json::Value& request);
void InEventControlConferenceRoomSettings(Json::Value& request);
void InEventStartPrecallTestSpeaker(Json::Value& request);
void InEventPlayDtmfTone(Json::Value& request);

// A window handle as the page got it: up to sixteen hexadecimal digits
// within the text's first 17 characters, leading blanks allowed; 0 when there
// are none. Only the low 32 bits are a handle.
uint32_t parseWindowHandle(const std::string& text);
