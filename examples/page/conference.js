// A conference page on the page library: from a website it reaches the host
// through the example extension's bridge (its id in the address:
// ?extension=<id>); opened inside an extension, it connects natively.
import { connect, TavmoRequestError } from "../../clients/js/src/index.js";

const LOG_LINES_SHOWN = 200;
const extensionId = new URLSearchParams(location.search).get("extension") || undefined;

// Every request, reply and event, for the log panel (and for anyone reading
// the page from outside, such as a test).
const log = [];
const linesToShow = [];
const state = {
  client: null,
  started: false,
  callState: "Idle",
  selfMuted: false,
  moderatorMuted: false,
  participants: new Map(),
};

const $ = (id) => document.getElementById(id);

function record(direction, message, label = "") {
  log.push({ direction, message });
  const line = document.createElement("li");
  line.className = direction;
  const arrow = { sent: "→ ", received: "← ", event: "← " }[direction];
  line.textContent = arrow + (label ? `${label} ` : "") + JSON.stringify(message);
  linesToShow.push(line);
  // Lines are shown in batches: laying the page out for each of a burst of
  // messages would make it crawl.
  if (linesToShow.length === 1) setTimeout(showLogLines, 100);
}

function showLogLines() {
  const list = $("log");
  list.append(...linesToShow.splice(0).slice(-LOG_LINES_SHOWN));
  while (list.children.length > LOG_LINES_SHOWN) list.firstElementChild.remove();
  list.scrollTop = list.scrollHeight;
}

function showError(text) {
  $("error").textContent = text;
}

// A request through the library, logged both ways; a refusal is shown as
// text and rethrown for the caller.
async function request(type, members = {}) {
  record("sent", { type, ...members });
  try {
    const reply = await state.client.request(type, members);
    record("received", reply);
    return reply;
  } catch (error) {
    record("received", error.reply || { type, error: error.message });
    const text = error instanceof TavmoRequestError ? error.error : error.message;
    showError(text.startsWith(type) ? text : `${type}: ${text}`);
    throw error;
  }
}

// Buttons are enabled only when what they send can succeed.
function showControls() {
  const connected = state.client !== null;
  const idle = state.callState === "Idle";
  const inCall = state.callState === "InConference";
  $("connect").disabled = connected;
  $("disconnect").disabled = !connected;
  $("start").disabled = !connected || state.started;
  $("stop").disabled = !connected || !state.started || !idle;
  $("join").disabled = !connected || !state.started || !idle;
  $("mute").disabled = !inCall;
  $("leave").disabled = !connected || idle;
  $("chat-text").disabled = !inCall;
  $("chat-send").disabled = !inCall;
}

function showCallState(callState) {
  state.callState = callState;
  $("call-state").textContent = callState;
  showControls();
}

// The microphone is off while the user or the moderator holds it muted.
function showMicrophone() {
  const text = state.moderatorMuted ? "muted by the moderator" : state.selfMuted ? "muted" : "on";
  $("microphone-state").textContent = text;
  $("mute").textContent = state.selfMuted ? "Unmute microphone" : "Mute microphone";
}

// A participant is in the call while any of their sources (microphone,
// camera, shared window) is.
function addSource({ participantURI, displayName, sourceName }) {
  const person = state.participants.get(participantURI) || { name: displayName, sources: new Set() };
  person.sources.add(sourceName);
  state.participants.set(participantURI, person);
  showParticipants();
}

function removeSource({ participantURI, sourceName }) {
  const person = state.participants.get(participantURI);
  if (!person) return;
  person.sources.delete(sourceName);
  if (person.sources.size === 0) state.participants.delete(participantURI);
  showParticipants();
}

function showParticipants() {
  const list = $("participants");
  list.replaceChildren();
  for (const person of state.participants.values()) {
    const item = document.createElement("li");
    item.textContent = `${person.name} — ${[...person.sources].join(", ")}`;
    list.append(item);
  }
  $("participant-count").textContent = state.participants.size;
}

function addChatLine(from, text) {
  const item = document.createElement("li");
  if (from) {
    const name = document.createElement("span");
    name.className = "from";
    name.textContent = `${from}: `;
    item.append(name);
  }
  item.append(text);
  $("chat").append(item);
}

function forgetCall() {
  state.moderatorMuted = false;
  showMicrophone();
  state.participants.clear();
  showParticipants();
  showCallState("Idle");
}

function onDisconnected(reason) {
  state.client = null;
  state.started = false;
  $("host-state").textContent = `disconnected: ${reason}`;
  forgetCall();
}

function connectToHost() {
  if (state.client) return;
  showError("");
  const client = connect({ extensionId });
  state.client = client;
  client
    .on("*", (params, event) => record("event", { code: event.code, params }, event.name))
    .on("logicStarted", () => {
      state.started = true;
      showControls();
    })
    .on("callState", ({ callState }) => showCallState(callState))
    .on("sourceAdded", addSource)
    .on("sourceRemoved", removeSource)
    .on("conferenceLeft", forgetCall)
    .on("mutedAudioIn", ({ isMuted }) => {
      state.selfMuted = isMuted;
      showMicrophone();
    })
    .on("mutedServerAudioIn", ({ isMuted }) => {
      state.moderatorMuted = isMuted;
      showMicrophone();
    })
    .on("chatMessage", ({ displayName, message }) => addChatLine(displayName, message))
    .on("privateChatMessage", ({ displayName, message }) => addChatLine(`${displayName} (private)`, message))
    .on("notice", ({ message }) => addChatLine("", message))
    .on("disconnected", (reason) => {
      if (state.client === client) onDisconnected(reason);
    });
  $("host-state").textContent = "connected";
  showControls();
}

function disconnectFromHost() {
  if (!state.client) return;
  const client = state.client;
  client.close();
  onDisconnected("closed");
  $("host-state").textContent = "disconnected";
}

// Failures are on the page already (showError); the buttons need no more.
const ignoreRefusal = () => {};

// Another page may have started the library already; that is as good.
async function start() {
  try {
    await request("InEventStart");
  } catch (error) {
    if (error.error !== "TavmoClient already started") throw error;
    showError("");
  }
  state.started = true;
  showControls();
}

async function stop() {
  await request("InEventStop");
  state.started = false;
  showControls();
}

// The extension names the website from its origin, so the page asks only
// for the meeting. The user approves the website once in the host's dialog.
async function startMyMeeting() {
  showError("");
  await request("PrivateInEventStartMyMeeting");
}

async function sendChat(event) {
  event.preventDefault();
  const text = $("chat-text").value;
  if (!text) return;
  $("chat-text").value = "";
  await request("InEventGroupChat", { message: text });
  // Shown once the host has taken it.
  addChatLine("You", text);
}

$("connect").addEventListener("click", connectToHost);
$("disconnect").addEventListener("click", disconnectFromHost);
$("start").addEventListener("click", () => start().catch(ignoreRefusal));
$("stop").addEventListener("click", () => stop().catch(ignoreRefusal));
$("join").addEventListener("click", () => startMyMeeting().catch(ignoreRefusal));
$("mute").addEventListener("click", () =>
  request("InEventMuteAudioIn", { willMute: !state.selfMuted }).catch(ignoreRefusal),
);
$("leave").addEventListener("click", () => request("InEventLeave").catch(ignoreRefusal));
$("chat-form").addEventListener("submit", (event) => sendChat(event).catch(ignoreRefusal));

// For tests and for the curious: the log, and requests as the page sends them.
Object.assign(window, { log, linesToShow, request, conference: state });
