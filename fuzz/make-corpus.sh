#!/usr/bin/env bash
# Writes the seed corpora in fuzz/corpus/<target>/ and the dictionaries in
# fuzz/, from the sessions below and from the host's own tables (dispatch
# types, event codes, portal answer kinds) and the catalogue's member names,
# as the fuzz build's fuzz_tables prints them. Run it again when those
# change (scripts/fuzz.sh --corpus); the fuzzers find the rest themselves.
# Usage: fuzz/make-corpus.sh <fuzz_tables> [--check]
#   --check  writes nothing and fails when the committed files differ
set -euo pipefail
export LC_ALL=C
if [ $# -lt 1 ] || [ $# -gt 2 ] || { [ $# -eq 2 ] && [ "$2" != --check ]; }; then
  echo "usage: $0 <fuzz_tables> [--check]" >&2
  exit 2
fi
tables=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
check=${2:-}
cd "$(dirname "$0")"
root=..
out=.
if [ -n "$check" ]; then
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
fi
corpus=$out/corpus

# Little-endian 32-bit number.
le32() {
  local n=$(($1 & 0xFFFFFFFF))
  printf "\\x$(printf %02x $((n & 255)))\\x$(printf %02x $(((n >> 8) & 255)))"
  printf "\\x$(printf %02x $(((n >> 16) & 255)))\\x$(printf %02x $(((n >> 24) & 255)))"
}

# The bytes that pairs of hex digits name; blanks between pairs are allowed.
hex() {
  local digits
  digits=$(tr -d ' \n' <<<"$1")
  [ -z "$digits" ] || printf "$(sed 's/\(..\)/\\x\1/g' <<<"$digits")"
}

# $1 bytes of the one byte $2 (two hex digits).
repeated() { head -c "$1" /dev/zero | tr '\0' "\\$(printf %03o $((16#$2)))"; }

# ---- request_stream: switches, stream length, stream, library answers -----

# Frames each line of standard input (the bodies) as the browser does.
framed() {
  while IFS= read -r line; do
    le32 ${#line}
    printf '%s' "$line"
  done
}

# request_seed NAME SWITCHES ANSWERS-HEX < stream
request_seed() {
  local stream
  stream=$(mktemp)
  cat >"$stream"
  {
    printf "\\x$(printf %02x "$2")"
    le32 "$(wc -c <"$stream")"
    cat "$stream"
    hex "$3"
  } >"$corpus/request_stream/$1"
  rm -f "$stream"
}

session() { framed | request_seed "$@"; }

# Inputs that once failed (finding-*) stay; everything else is written anew.
mkdir -p "$corpus/request_stream" "$corpus/event_translation" "$corpus/record_text"
find "$corpus" -type f ! -name 'finding-*' -delete

# A page's session as the browser sends it: start, approval, a conference.
read -r -d '' conference <<'JSON' || true
{"type":"RequestSetChromeArch","_direction":1,"_id":1,"chromeArch":"x86-64"}
{"type":"RequestGetVersion","_direction":1,"_id":2}
{"type":"RequestSetLogLevelsAndCategories","_direction":1,"_id":3,"levelsAndCategories":"FATAL ERROR WARNING INFO@App"}
{"type":"RequestSetDomain","_direction":1,"_id":4,"domain":"meet.example.org"}
{"type":"InEventStart","_direction":1,"_id":5,"_tabId":17}
{"type":"RequestGetCallState","_direction":1,"_id":6}
{"type":"InEventSignIn","_direction":1,"_id":7,"serverAddress":"portal.example.org","serverPort":443,"userName":"ann","portalAccessKey":"k3y","portalAddress":"https://portal.example.org","portalVersion":"3.4","vmIdentity":"","locationTag":"","proxyType":0,"emcpSecured":1,"guestLogin":false,"showDialpad":false,"showStartmeeting":true}
{"type":"PrivateInEventVcsoapGuestLink","_direction":1,"_id":8,"requestId":4,"portalUri":"https://portal.example.org","roomKey":"AbC123","guestName":"Ann","pin":""}
{"type":"InEventMuteAudioIn","_direction":1,"_id":9,"willMute":true}
{"type":"InEventGroupChat","_direction":1,"_id":10,"message":"hello"}
{"type":"InEventLeave","_direction":1,"_id":11}
{"type":"InEventStop","_direction":1,"_id":12}
JSON
session conference 0 "" <<<"$conference"
session conference-debug 1 "" <<<"$conference"
session conference-in-call 20 "" <<<"$conference"
# The library approves the website, then refuses or fills in what follows.
session conference-library-answers 0 "00 05 01 00000000 C3 00 00 00 FF 01 00 00 80 00 C1 00 00 01 41 C0" <<<"$conference"
session conference-start-fails 2 "" <<<"$conference"

session status 0 "C0 00 00 04 FFFFFFFF 00 01 41 00 00 C7 00" <<'JSON'
{"type":"RequestGetMutedAudioOut","_direction":1,"_id":1}
{"type":"RequestGetMutedAudioIn","_direction":1,"_id":2}
{"type":"RequestGetMutedVideo","_direction":1,"_id":3}
{"type":"RequestGetMutedServerAudioIn","_direction":1,"_id":4}
{"type":"RequestGetMutedServerVideo","_direction":1,"_id":5}
{"type":"RequestSetVolumeAudioIn","_direction":1,"_id":6,"volume":200}
{"type":"RequestGetVolumeAudioIn","_direction":1,"_id":7}
{"type":"RequestSetVolumeAudioOut","_direction":1,"_id":8,"volume":"65535"}
{"type":"RequestGetVolumeAudioOut","_direction":1,"_id":9}
{"type":"RequestGetEID","_direction":1,"_id":10}
{"type":"RequestGetLID","_direction":1,"_id":11}
{"type":"RequestGetAudioEnergyInfo","_direction":1,"_id":12}
{"type":"RequestGetNumParticipants","_direction":1,"_id":13}
{"type":"RequestGetParticipantNameAt","_direction":1,"_id":14,"index":2}
{"type":"RequestGetParticipantStatisticsAt","_direction":1,"_id":15,"index":0}
{"type":"RequestGetCurrentUser","_direction":1,"_id":16}
{"type":"RequestGetEchoRecommendation","_direction":1,"_id":17,"speakerIndex":0,"micIndex":1}
{"type":"RequestCheckRecommended","_direction":1,"_id":18,"deviceType":1,"deviceIndex":0}
{"type":"RequestGetParticipantsLimit","_direction":1,"_id":19}
{"type":"RequestGetWebProxySettingsValid","_direction":1,"_id":20}
{"type":"RequestGetInvitingUser","_direction":1,"_id":21}
{"type":"RequestGetCurrentSessionTavmoRouter","_direction":1,"_id":22}
{"type":"RequestGetEndpointStatus","_direction":1,"_id":23}
{"type":"RequestGetCurrentSessionDisplayInfo","_direction":1,"_id":24}
{"type":"RequestSetLabel","_direction":1,"_id":25,"labelText":"Room 4"}
{"type":"RequestSetWebProxyCredentials","_direction":1,"_id":26,"username":"proxy","password":"pw","persist":true}
JSON

session configuration 0 "00 02 30 00 00 00" <<'JSON'
{"type":"RequestGetConfiguration","_direction":1,"_id":1}
{"type":"RequestSetConfiguration","_direction":1,"_id":2,"currentMicrophone":1,"currentSpeaker":0,"currentCamera":1,"userID":"ann","portalAddress":"https://portal.example.org","serverPort":"443","enableAutoAnswer":true,"videoPreferences":"BestQuality","microphones":["one","two"],"numberMicrophones":9}
{"type":"RequestGetSendMaxKbps","_direction":1,"_id":3}
{"type":"RequestSetSendMaxKbps","_direction":1,"_id":4,"value":1024}
{"type":"RequestGetReceiveMaxKbps","_direction":1,"_id":5}
{"type":"RequestSetReceiveMaxKbps","_direction":1,"_id":6,"value":-1}
JSON

session sharing 0 "00 04 02000000 00 00 00 04 01000000" <<'JSON'
{"type":"RequestGetWindowsAndDesktops","_direction":1,"_id":1}
{"type":"RequestGetWindowShares","_direction":1,"_id":2}
{"type":"RequestSetWindowShares","_direction":1,"_id":3,"requestType":1,"numApp":2,"currApp":1,"newApp":0,"eventUri":"sip:share"}
{"type":"RequestEnableAppShare","_direction":1,"_id":4,"isEnable":false}
{"type":"InEventShare","_direction":1,"_id":5,"shareType":"desktop","window":1}
{"type":"InEventShare","_direction":1,"_id":6,"shareType":"window","window":"0x3a0042"}
{"type":"InEventUnshare","_direction":1,"_id":7}
{"type":"InEventGetWindowsExt","_direction":1,"_id":8,"requestId":12}
JSON

session statistics 0 "00 04 03000000 00 04 FFFFFFFF 00 01 7F" <<'JSON'
{"type":"RequestGetParticipants","_direction":1,"_id":1,"startIndex":0}
{"type":"RequestGetFeccList","_direction":1,"_id":2}
{"type":"RequestGetEncodeResolution","_direction":1,"_id":3}
{"type":"RequestGetVideoFrameRateInfo","_direction":1,"_id":4}
{"type":"RequestGetMediaInfo","_direction":1,"_id":5}
{"type":"RequestGetRateShaperInfo","_direction":1,"_id":6}
{"type":"RequestGetCurrentCpuUtilization","_direction":1,"_id":7}
{"type":"RequestGetConferenceInfo","_direction":1,"_id":8}
{"type":"RequestGetConnectivityInfo","_direction":1,"_id":9}
{"type":"RequestGetBandwidthInfo","_direction":1,"_id":10}
{"type":"RequestGetLayout","_direction":1,"_id":11}
{"type":"RequestGetPreviewMode","_direction":1,"_id":12}
JSON

session camera 8 "C2 00" <<'JSON'
{"type":"RequestGetCameraStatus","_direction":1,"_id":1}
{"type":"RequestSetCameraResolution","_direction":1,"_id":2,"width":1280,"height":720}
{"type":"InEventStart","_direction":1,"_id":3}
{"type":"RequestGetCameraStatus","_direction":1,"_id":4}
{"type":"InEventStop","_direction":1,"_id":5}
JSON

session commands 0 "C0 01 01 C1" <<'JSON'
{"type":"InEventResize","_direction":1,"_id":1,"x":10,"y":20,"width":640,"height":480}
{"type":"InEventParticipantsLimit","_direction":1,"_id":2,"maxNumParticipants":8}
{"type":"InEventToggleShare","_direction":1,"_id":3}
{"type":"InEventLayout","_direction":1,"_id":4,"numPreferred":4}
{"type":"InEventCancel","_direction":1,"_id":5}
{"type":"InEventMuteAudioOut","_direction":1,"_id":6,"willMute":1}
{"type":"InEventMuteVideo","_direction":1,"_id":7,"willMute":false}
{"type":"InEventSetEchoDetection","_direction":1,"_id":8,"enable":true}
{"type":"InEventSetEchoCancellation","_direction":1,"_id":9,"enable":0}
{"type":"InEventSetAGC","_direction":1,"_id":10,"enable":null}
{"type":"InEventSetFreezeImage","_direction":1,"_id":11,"freeze":true}
{"type":"InEventPrecallTestCamera","_direction":1,"_id":12}
{"type":"InEventPrecallTestMicrophone","_direction":1,"_id":13}
{"type":"InEventAnswer","_direction":1,"_id":14}
{"type":"InEventDecline","_direction":1,"_id":15}
{"type":"InEventSetOffline","_direction":1,"_id":16,"offline":true}
{"type":"InEventSetSendBandwidthLimit","_direction":1,"_id":17,"sendBandwidth":512,"layers":2}
{"type":"EventPreview","_direction":1,"_id":18,"previewMode":"PIP"}
{"type":"PrivateInEventLayout","_direction":1,"_id":19,"layout_num":2,"participants_limit_manual":4,"participants_limit_render":6,"participants_limit_safe":8,"layout_wide":1}
{"type":"InEventStopPrecallTestSpeaker","_direction":1,"_id":20}
JSON

session sign-in 0 "C0 C1 00 00" <<'JSON'
{"type":"InEventLogin","_direction":1,"_id":1,"portalUri":"https://portal.example.org","userName":"ann","userPass":"secret"}
{"type":"InEventLoginCancel","_direction":1,"_id":2}
{"type":"InEventSignoff","_direction":1,"_id":3}
{"type":"InEventSignIn","_direction":1,"_id":4,"serverAddress":"10.0.0.1","serverPort":"17992","userName":"","guestLogin":true}
JSON

session payloads 0 "" <<'JSON'
{"type":"InEventPrivateChat","_direction":1,"_id":1,"message":"psst","uri":"sip:bob@example.org"}
{"type":"InEventSetDisplayName","_direction":1,"_id":2,"uri":"sip:bob@example.org","displayName":"Bob"}
{"type":"InEventResetDisplayName","_direction":1,"_id":3,"uri":"sip:bob@example.org"}
{"type":"InEventPinParticipant","_direction":1,"_id":4,"uri":"sip:bob@example.org","pinMode":"pin"}
{"type":"InEventControlCamera","_direction":1,"_id":5,"uri":"sip:bob@example.org","cameraCommand":"PanLeft","commandId":"7","commandData":"","preset":3}
{"type":"InEventControlConferenceRoomSettings","_direction":1,"_id":6,"requestId":3,"moderatorPin":"1234","roomSettingId":2,"roomType":1}
{"type":"InEventStartPrecallTestSpeaker","_direction":1,"_id":7,"soundFileName":"no-such-sound.wav"}
{"type":"InEventPlayDtmfTone","_direction":1,"_id":8,"tone":"5"}
JSON

# What a browser or a hostile page may send besides.
session envelopes 0 "" <<'JSON'
{"type":"RequestGetVersion"}
{"type":"RequestGetVersion","_direction":2,"_id":1}
{"type":7,"_direction":1,"_id":2}
{"type":"NoSuchRequest","_direction":1,"_id":3,"_tabId":"x"}
{"_direction":1,"_id":4}
{"type":"RequestGetParticipantNameAt","_direction":"1","_id":5,"index":[1]}
{"type":"RequestSetLabel","_direction":1.0,"_id":6,"labelText":{"a":1}}
["RequestGetVersion"]
"RequestGetVersion"
42
null
{"type":"RequestGetVersion",
not json at all
{"type":"RequestGetVersion","_direction":1,"_id":1e400}
JSON
{ le32 0; le32 6; printf '{EXIT}'; le32 2; printf '{}'; } | request_seed exit-and-empty 0 ""
{ le32 7; printf '{EXIT} '; le32 1000; printf '{"type":"RequestGetVersion"'; } | request_seed cut-short 0 ""
printf '{"type":"RequestGetVersion"}\r\n{EXIT}\n{"type":"RequestGetCallState"}\n' | request_seed debug-lines 1 ""

# ---- event_translation: code, size, block; repeated ------------------------

# event CODE SIZE FILL-HEX [HEX-PREFIX]: a block of SIZE bytes of FILL whose
# first bytes are HEX-PREFIX.
event() {
  local prefix=${4:-}
  local prefixBytes=$((${#prefix} / 2))
  le32 "$1"
  le32 "$2"
  hex "$prefix"
  [ "$2" -le "$prefixBytes" ] || repeated $(($2 - prefixBytes)) "$3"
}

event_codes=$("$tables" event-codes)
vcsoap=$("$tables" portal-answer-event)
portal_kinds=$("$tables" portal-answer-kinds)

# Every translated code, eight to a seed: once with zeros, once with a
# pattern that makes every count 2 and every text unterminated. Seeds stay
# within the 4096 bytes that a run tries by default.
group=0
emit_group() {
  [ -n "$1" ] || return 0
  for code in $1; do event "$code" 256 00; done >"$corpus/event_translation/zeros-$group"
  for code in $1; do event "$code" 384 02; done >"$corpus/event_translation/twos-$group"
  group=$((group + 1))
}
batch=""
count=0
for code in $event_codes; do
  batch="$batch $code"
  count=$((count + 1))
  if [ $count -eq 8 ]; then emit_group "$batch"; batch=""; count=0; fi
done
emit_group "$batch"

# Every portal answer kind, behind its header, eight to a seed.
part=0
emit_portal() {
  [ -n "$1" ] || return 0
  for k in $1; do event "$vcsoap" 480 03 "$(le32 "$k" | od -An -tx1 | tr -d ' \n')00000000c800000007000000"; done \
    >"$corpus/event_translation/portal-$part"
  part=$((part + 1))
}
batch=""
count=0
for kind in $portal_kinds; do
  batch="$batch $kind"
  count=$((count + 1))
  if [ $count -eq 8 ]; then emit_portal "$batch"; batch=""; count=0; fi
done
emit_portal "$batch"
# Outside both ranges, empty blocks, short blocks, the delayed one.
{ event 0 0 00; event -1 4 ff; event 99999 1 01; event 100000 8 00; event 300000 0 00; } \
  >"$corpus/event_translation/out-of-range"
{ event 2500 0 00; event 2500 3 01; event 1600 16 41; event 1601 16 41; event 200900 15 00; } \
  >"$corpus/event_translation/short-blocks"
# Texts that no following field ends, unterminated and longer than the
# record's field: a chat message, a notice, a portal access key.
{ event 2601 1500 41; event 201600 1100 42; event "$vcsoap" 400 43 "$(le32 4 | od -An -tx1 | tr -d ' \n')00000000c800000007000000"; } \
  >"$corpus/event_translation/long-texts"

# ---- record_text: width, old field, text -----------------------------------

record_seed() { { printf "\\x$(printf %02x $(($2 & 255)))\\x$(printf %02x $(($2 >> 8)))"; printf "$3"; } >"$corpus/record_text/$1"; }
record_seed empty-width 0 'text'
record_seed one-byte 1 'Xtext'
record_seed exact-fit 5 'old\0\0abcd'
record_seed one-too-long 4 'oldXabcd'
record_seed unterminated-old 8 'ABCDEFGHshort'
record_seed nul-in-text 16 '\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0ab\0cd'
record_seed wide 257 "$(printf 'field%.0s' $(seq 52))text that is longer than a short field"

# ---- dictionaries -----------------------------------------------------------

{
  "$tables" request-names "$root/protocol/catalogue.json"
  printf '%s\n' _direction _id _tabId type
} | sort -u | sed 's/.*/"\\"&\\""/' >"$out/request_stream.dict"
printf '%s\n' '"{EXIT}"' '"\":1,"' '"\":true,"' '"\":\""' '"\":{"' '"\":["' >>"$out/request_stream.dict"
for code in $event_codes; do
  printf '"%s"\n' "$(le32 "$code" | od -An -tx1 | sed 's/ /\\x/g' | tr -d '\n')"
done >"$out/event_translation.dict"

if [ -n "$check" ]; then
  stale=0
  diff -r -x 'finding-*' corpus "$corpus" >/dev/null || stale=1
  for dict in request_stream.dict event_translation.dict; do cmp -s "$dict" "$out/$dict" || stale=1; done
  if [ $stale -ne 0 ]; then
    echo "fuzz/: the seed corpora or dictionaries are stale: scripts/fuzz.sh --corpus writes them anew" >&2
    exit 1
  fi
fi
