// A conference console: it starts the host through native messaging, sends
// requests, and shows what the events tell about the call.
//
// Every message to the host is a request object with a "type" and
// "_direction": 1. The host answers each request once, in order, echoing its
// members (here "_id", which matches a reply to its request). Everything the
// host sends without a "type" is an event: {"code": ..., "params": ...}.

const HOST_NAME = "com.tavmo.client_for_web";
const LOG_LINES_SHOWN = 200;

// Every message both ways, for the log panel (and for anyone reading the
// page from outside, such as a test).
const log = [];

const connection = { port: null, nextId: 1, waiting: new Map() };
const call = { state: "Idle", microphoneMuted: false, participants: new Map() };

function $(id) {
  return document.getElementById(id);
}

// Lines are shown in batches: laying the page out again for every one of a
// burst of messages would make the page crawl.
const linesToShow = [];

function record(direction, message) {
  log.push({ direction, message });
  const line = document.createElement("li");
  line.className = direction;
  line.textContent = (direction === "sent" ? "→ " : "← ") + JSON.stringify(message);
  linesToShow.push(line);
  if (linesToShow.length === 1) setTimeout(showLogLines, 100);
}

function showLogLines() {
  const list = $("log");
  list.append(...linesToShow.splice(0).slice(-LOG_LINES_SHOWN));
  while (list.children.length > LOG_LINES_SHOWN) list.firstElementChild.remove();
  list.scrollTop = list.scrollHeight;
}

function connect() {
  if (connection.port) return;
  connection.port = chrome.runtime.connectNative(HOST_NAME);
  connection.port.onMessage.addListener(receive);
  connection.port.onDisconnect.addListener(() => {
    const reason = chrome.runtime.lastError ? chrome.runtime.lastError.message : "closed";
    forgetConnection("disconnected: " + reason);
  });
  $("host-state").textContent = "connected";
}

// Closing the port ends the host; during a call it leaves the call first.
function disconnect() {
  if (!connection.port) return;
  connection.port.disconnect();
  forgetConnection("disconnected");
}

function forgetConnection(state) {
  connection.port = null;
  for (const settle of connection.waiting.values()) settle({ error: "host " + state });
  connection.waiting.clear();
  $("host-state").textContent = state;
  showCallState("Idle");
  call.participants.clear();
  showParticipants();
}

// Sends one request and resolves with its reply. Requests may be sent
// without waiting for earlier replies: the host answers them in order.
function request(type, members = {}) {
  if (!connection.port) return Promise.resolve({ type, error: "not connected" });
  const message = { ...members, type, _direction: 1, _id: connection.nextId++ };
  const reply = new Promise((settle) => connection.waiting.set(message._id, settle));
  record("sent", message);
  connection.port.postMessage(message);
  return reply;
}

function receive(message) {
  record("received", message);
  if ("type" in message) {
    const settle = connection.waiting.get(message._id);
    connection.waiting.delete(message._id);
    if (settle) settle(message);
    return;
  }
  const handle = eventHandlers[message.code];
  if (handle) handle(message.params || {});
}

const eventHandlers = {
  2500: (params) => showCallState(params.callState),
  1210: (params) => addSource(params),
  1211: (params) => removeSource(params),
  1203: () => {
    call.participants.clear();
    showParticipants();
  },
  1500: (params) => showMicrophone(params.isMuted),
  1503: (params) => addChatLine("", params.isMuted ? "The moderator muted you" : "The moderator unmuted you"),
  2600: (params) => addChatLine(params.displayName, params.message),
  2601: (params) => addChatLine(params.displayName + " (private)", params.message),
  201600: (params) => addChatLine("", params.message),
};

function showCallState(state) {
  call.state = state;
  $("call-state").textContent = state;
}

function showMicrophone(muted) {
  call.microphoneMuted = muted;
  $("microphone-state").textContent = muted ? "muted" : "on";
  $("mute").textContent = muted ? "Unmute microphone" : "Mute microphone";
}

// A participant is in the call while any of their sources (microphone,
// camera, shared window) is.
function addSource({ participantURI, displayName, sourceName }) {
  const person = call.participants.get(participantURI) || { name: displayName, sources: new Set() };
  person.sources.add(sourceName);
  call.participants.set(participantURI, person);
  showParticipants();
}

function removeSource({ participantURI, sourceName }) {
  const person = call.participants.get(participantURI);
  if (!person) return;
  person.sources.delete(sourceName);
  if (person.sources.size === 0) call.participants.delete(participantURI);
  showParticipants();
}

function showParticipants() {
  const list = $("participants");
  list.replaceChildren();
  for (const person of call.participants.values()) {
    const item = document.createElement("li");
    item.textContent = person.name + " — " + [...person.sources].join(", ");
    list.append(item);
  }
  $("participant-count").textContent = call.participants.size;
}

function addChatLine(from, text) {
  const item = document.createElement("li");
  if (from) {
    const name = document.createElement("span");
    name.className = "from";
    name.textContent = from + ": ";
    item.append(name);
  }
  item.append(text);
  $("chat").append(item);
}

// The website asking for the call; the user approves it once in the
// host's dialog. An extension page names itself by its extension id.
async function startMyMeeting() {
  await request("RequestSetDomain", { domain: location.hostname });
  return request("PrivateInEventStartMyMeeting");
}

$("connect").addEventListener("click", connect);
$("disconnect").addEventListener("click", disconnect);
$("start").addEventListener("click", () => request("InEventStart"));
$("join").addEventListener("click", startMyMeeting);
$("mute").addEventListener("click", () => request("InEventMuteAudioIn", { willMute: !call.microphoneMuted }));
$("leave").addEventListener("click", () => request("InEventLeave"));
$("stop").addEventListener("click", () => request("InEventStop"));
$("chat-form").addEventListener("submit", (event) => {
  event.preventDefault();
  const text = $("chat-text").value;
  if (!text) return;
  addChatLine("You", text);
  request("InEventGroupChat", { message: text });
  $("chat-text").value = "";
});
