// The page's client of TavmoClientForWeb: requests answered as promises,
// events by code or name, and one notification when the connection ends.
//
// It speaks over a port of the browser's extension messaging: a native port
// to the host from an extension page, or the example extension's bridge from
// a website. No runtime dependencies.
import { EVENT_CODES, EVENT_NAMES, PORTAL_ANSWER_EVENT, PORTAL_ANSWER_TYPES } from "./events.js";

export { EVENT_CODES, EVENT_NAMES, PORTAL_ANSWER_TYPES };

export const HOST_NAME = "com.tavmo.client_for_web";
// The bridge tells a website this, just before it closes the website's port,
// when the host has gone away.
export const BRIDGE_DISCONNECTED = "tavmoBridgeDisconnected";
const DISCONNECTED = "disconnected";
const EVERY_EVENT = "*";
const LARGEST_ID = 0x7fffffff;

// A request the host (or the bridge) answered with "error".
export class TavmoRequestError extends Error {
  constructor(reply) {
    super(reply.error);
    this.name = "TavmoRequestError";
    this.type = reply.type;
    this.error = reply.error;
    this.reply = reply;
  }
}

// A request that can no longer be answered: the connection has ended.
export class TavmoDisconnectedError extends Error {
  constructor(reason) {
    super(`disconnected: ${reason}`);
    this.name = "TavmoDisconnectedError";
    this.reason = reason;
  }
}

// The subscription a name or code stands for; a name the protocol does not
// know is a mistake of the page, reported at once.
function subscriptionKey(event) {
  if (event === DISCONNECTED || event === EVERY_EVENT) return event;
  if (typeof event === "number" && Number.isInteger(event)) return `code:${event}`;
  if (typeof event === "string" && Object.hasOwn(EVENT_CODES, event)) return `code:${EVENT_CODES[event]}`;
  if (typeof event === "string" && PORTAL_ANSWER_TYPES.includes(event)) return `answer:${event}`;
  throw new TypeError(`no event is called ${JSON.stringify(event)}`);
}

// A failing handler must not keep the others from their event; its error
// is reported as the browser reports any uncaught one.
function reportHandlerFailure(error) {
  if (typeof globalThis.reportError === "function") globalThis.reportError(error);
  else
    setTimeout(() => {
      throw error;
    });
}

export class TavmoClient {
  #port;
  #nextId = 1;
  #pending = new Map();
  #handlers = new Map();
  #disconnectReason = null;

  constructor(port) {
    this.#port = port;
    port.onMessage.addListener((message) => this.#receive(message));
    // Chrome tells why in runtime.lastError, Firefox in the port's error.
    port.onDisconnect.addListener((ended) =>
      this.#finish(lastErrorMessage() || ended?.error?.message || "the port was closed"),
    );
  }

  get connected() {
    return this.#disconnectReason === null;
  }

  // Sends a request; resolves with its reply, or rejects with a
  // TavmoRequestError carrying the reply's "error", or with a
  // TavmoDisconnectedError.
  request(type, members = {}) {
    if (typeof type !== "string") return Promise.reject(new TypeError("a request type is a string"));
    if (!this.connected) return Promise.reject(new TavmoDisconnectedError(this.#disconnectReason));
    const id = this.#freeId();
    const message = { ...members, type, _direction: 1, _id: id };
    return new Promise((resolve, reject) => {
      this.#pending.set(id, { resolve, reject });
      try {
        this.#port.postMessage(message);
      } catch (error) {
        this.#pending.delete(id);
        reject(error);
      }
    });
  }

  // `event`: an event code, its name ("callState"), a portal answer's type
  // ("OutEventJoinConference"), "*" for every event, or "disconnected".
  on(event, handler) {
    const key = subscriptionKey(event);
    if (!this.#handlers.has(key)) this.#handlers.set(key, new Set());
    this.#handlers.get(key).add(handler);
    // A late listener still learns that the connection has ended.
    if (key === DISCONNECTED && !this.connected) {
      const reason = this.#disconnectReason;
      queueMicrotask(() => this.#call(handler, [reason]));
    }
    return this;
  }

  off(event, handler) {
    this.#handlers.get(subscriptionKey(event))?.delete(handler);
    return this;
  }

  // Closes the port; the host (or the bridge) then ends its side.
  close() {
    if (!this.connected) return;
    this.#port.disconnect();
    this.#finish("closed by the page");
  }

  // Ids are the client's own and never reused while their request waits.
  #freeId() {
    while (this.#pending.has(this.#nextId)) this.#nextId = this.#nextId >= LARGEST_ID ? 1 : this.#nextId + 1;
    const id = this.#nextId;
    this.#nextId = id >= LARGEST_ID ? 1 : id + 1;
    return id;
  }

  #receive(message) {
    if (message === null || typeof message !== "object") return;
    if (typeof message[BRIDGE_DISCONNECTED] === "string") {
      this.#finish(message[BRIDGE_DISCONNECTED]);
      this.#port.disconnect();
      return;
    }
    if ("type" in message) {
      const waiting = this.#pending.get(message._id);
      if (!waiting) return;
      this.#pending.delete(message._id);
      if (typeof message.error === "string") waiting.reject(new TavmoRequestError(message));
      else waiting.resolve(message);
      return;
    }
    this.#dispatch(message);
  }

  #dispatch(message) {
    const event = { code: message.code, name: EVENT_NAMES[message.code], params: message.params };
    const keys = [`code:${message.code}`];
    if (message.code === PORTAL_ANSWER_EVENT && typeof message.params?.type === "string")
      keys.push(`answer:${message.params.type}`);
    keys.push(EVERY_EVENT);
    for (const key of keys) for (const handler of [...(this.#handlers.get(key) || [])]) this.#call(handler, [event.params, event]);
  }

  #call(handler, args) {
    try {
      handler(...args);
    } catch (error) {
      reportHandlerFailure(error);
    }
  }

  #finish(reason) {
    if (!this.connected) return;
    this.#disconnectReason = reason;
    const pending = [...this.#pending.values()];
    this.#pending.clear();
    for (const { reject } of pending) reject(new TavmoDisconnectedError(reason));
    for (const handler of [...(this.#handlers.get(DISCONNECTED) || [])]) this.#call(handler, [reason]);
  }
}

function lastErrorMessage() {
  return globalThis.chrome?.runtime?.lastError?.message;
}

// A port that has already ended, for a page that cannot connect at all.
function endedPort(reason) {
  const port = {
    error: { message: reason },
    postMessage() {},
    disconnect() {},
    onMessage: { addListener() {} },
    onDisconnect: { addListener: (listener) => queueMicrotask(() => listener(port)) },
  };
  return port;
}

// connect()                   from an extension page: a native port to the host
// connect({ extensionId })    from a website: the example extension's bridge
// connect({ port })           over a port the page opened itself
export function connect({ extensionId, port, hostName = HOST_NAME } = {}) {
  if (port) return new TavmoClient(port);
  const runtime = globalThis.chrome?.runtime;
  if (extensionId !== undefined) {
    // Browsers give websites runtime.connect only where an extension allows them.
    if (!runtime?.connect) return new TavmoClient(endedPort("no extension lets this website connect"));
    return new TavmoClient(runtime.connect(extensionId, { name: "tavmo" }));
  }
  if (!runtime?.connectNative) return new TavmoClient(endedPort("native messaging is not available here"));
  return new TavmoClient(runtime.connectNative(hostName));
}
