// A port as the browser gives one, driven by the test: what the library
// posts is kept, and the test delivers messages and the disconnect.
export class FakePort {
  constructor() {
    this.posted = [];
    this.disconnected = false;
    this.messageListeners = [];
    this.disconnectListeners = [];
    this.onMessage = { addListener: (listener) => this.messageListeners.push(listener) };
    this.onDisconnect = { addListener: (listener) => this.disconnectListeners.push(listener) };
  }

  postMessage(message) {
    if (this.disconnected) throw new Error("Attempting to use a disconnected port object");
    this.posted.push(structuredClone(message));
  }

  disconnect() {
    this.disconnected = true;
  }

  deliver(message) {
    for (const listener of this.messageListeners) listener(structuredClone(message));
  }

  // The host's answer to the request posted at `index`, with extra members.
  answer(index, members) {
    const request = this.posted[index];
    this.deliver({ ...request, _direction: 2, ...members });
  }

  // The browser ends the port, telling why through runtime.lastError
  // during the listeners.
  end(reason) {
    this.disconnected = true;
    globalThis.chrome = { runtime: { lastError: { message: reason } } };
    try {
      for (const listener of this.disconnectListeners) listener(this);
    } finally {
      delete globalThis.chrome;
    }
  }
}
