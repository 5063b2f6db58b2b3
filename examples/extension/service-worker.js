// The bridge between websites and TavmoClientForWeb. A website whose origin
// the manifest's "externally_connectable" matches (the one allow list)
// connects with chrome.runtime.connect(extensionId). The bridge keeps one
// native port to the host for all of them and carries each website's
// requests over it, tagged with "_tabId", so that each reply goes back to
// the website that asked and to no other. Events go to every website.
//
// The website never names itself: before a request that asks the user's
// approval, the bridge sets the website with RequestSetDomain from the
// sender's origin. Requests a website must not send are answered here.

const HOST_NAME = "com.tavmo.client_for_web";
// The page library's BRIDGE_DISCONNECTED (clients/js/src/index.js).
const BRIDGE_DISCONNECTED = "tavmoBridgeDisconnected";
// The bridge's own requests; websites count from 1.
const OWN_TAG = 0;

// What only the extension or the user may do.
const REFUSED = new Map([
  ["RequestSetDomain", "the extension names the website from its origin"],
  ["RequestSetLogLevelsAndCategories", "the log levels are the user's"],
  ["RequestGetConfiguration", "the configuration holds the user's passwords"],
  ["RequestSetConfiguration", "the configuration is the user's"],
  ["RequestSetWebProxyCredentials", "the proxy credentials are the user's"],
  ["RequestSetChromeArch", "the browser's architecture is the extension's to say"],
  ["InEventStartPrecallTestSpeaker", "it reads a file of the user's machine"],
]);
// Requests for which the host asks the user to approve the website.
const NEEDS_APPROVAL = new Set(["PrivateInEventStartMyMeeting", "PrivateInEventVcsoapGuestLink"]);

const websites = new Map(); // tag -> { port, host }
let nextTag = OWN_TAG + 1;
let native = null;

// A match pattern of the manifest, "scheme://host/*" with an optional
// "*." before the host; as in the browser's own check, any port matches.
function originMatches(origin, pattern) {
  const wanted = /^(\*|https?):\/\/(\*\.)?([^/:]+)\//.exec(pattern);
  let url;
  try {
    url = new URL(origin);
  } catch {
    return false;
  }
  if (!wanted) return false;
  const [, scheme, anySubdomain, host] = wanted;
  const schemeMatches = scheme === "*" ? ["http:", "https:"].includes(url.protocol) : url.protocol === `${scheme}:`;
  const hostMatches = url.hostname === host || (anySubdomain !== undefined && url.hostname.endsWith(`.${host}`));
  return schemeMatches && hostMatches;
}

function allowed(origin) {
  const { matches = [] } = chrome.runtime.getManifest().externally_connectable || {};
  return typeof origin === "string" && matches.some((pattern) => originMatches(origin, pattern));
}

function answer(website, request, error) {
  website.port.postMessage({ ...request, _direction: 2, error });
}

function nativePort() {
  if (native) return native;
  native = chrome.runtime.connectNative(HOST_NAME);
  native.onMessage.addListener(fromHost);
  native.onDisconnect.addListener(() => {
    const reason = chrome.runtime.lastError ? chrome.runtime.lastError.message : "the host has exited";
    native = null;
    for (const { port } of websites.values()) {
      port.postMessage({ [BRIDGE_DISCONNECTED]: `the host has gone away: ${reason}` });
      port.disconnect();
    }
    websites.clear();
  });
  return native;
}

function fromHost(message) {
  if (!("type" in message)) {
    for (const { port } of websites.values()) port.postMessage(message);
    return;
  }
  const { _tabId: tag, ...reply } = message;
  if (tag === OWN_TAG) {
    if (reply.error) console.error(`the bridge's ${reply.type} failed: ${reply.error}`);
    return;
  }
  websites.get(tag)?.port.postMessage(reply);
}

function fromWebsite(tag, request) {
  const website = websites.get(tag);
  if (request === null || typeof request !== "object" || Array.isArray(request) || typeof request.type !== "string") {
    website.port.postMessage({ _direction: 2, error: "A request is an object with a string \"type\"" });
    return;
  }
  const refusal = REFUSED.get(request.type);
  if (refusal) {
    answer(website, request, `${request.type} is not allowed from a website: ${refusal}`);
    return;
  }
  const host = nativePort();
  // Both in one turn, so that no other website's request comes between the
  // domain and the request it is for. A text domain cannot be refused.
  if (NEEDS_APPROVAL.has(request.type))
    host.postMessage({ type: "RequestSetDomain", domain: website.host, _direction: 1, _tabId: OWN_TAG });
  host.postMessage({ ...request, _direction: 1, _tabId: tag });
}

chrome.runtime.onConnectExternal.addListener((port) => {
  const origin = port.sender && port.sender.origin;
  if (!allowed(origin)) {
    port.postMessage({ [BRIDGE_DISCONNECTED]: `${origin} may not use the conference bridge` });
    port.disconnect();
    return;
  }
  const tag = nextTag++;
  websites.set(tag, { port, host: new URL(origin).hostname });
  port.onMessage.addListener((request) => fromWebsite(tag, request));
  port.onDisconnect.addListener(() => {
    websites.delete(tag);
    // The last website gone: closing the port ends the host, which leaves a
    // call first.
    if (websites.size === 0 && native) {
      native.disconnect();
      native = null;
    }
  });
});
