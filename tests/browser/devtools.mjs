// A DevTools protocol client over the browser's debugging pipe: commands go
// to the browser's fd 3, replies and events come back on its fd 4, each
// message a JSON text ended by a NUL byte.

export class DevTools {
  constructor(commandPipe, replyPipe) {
    this.commandPipe = commandPipe;
    this.nextId = 1;
    this.waiting = new Map();
    this.listeners = new Set();
    this.eventWaiters = new Set();
    this.pending = Buffer.alloc(0);
    this.closedReason = null;
    replyPipe.on("data", (chunk) => this.receive(chunk));
    replyPipe.on("close", () => this.close("the browser closed its debugging pipe"));
    // A browser that ends with commands unread resets the pipe: that is its
    // end too, not a fault of ours.
    for (const pipe of [commandPipe, replyPipe]) {
      pipe.on("error", (error) => this.close(`the browser's debugging pipe failed: ${error.message}`));
    }
  }

  receive(chunk) {
    this.pending = Buffer.concat([this.pending, chunk]);
    for (let end = this.pending.indexOf(0); end >= 0; end = this.pending.indexOf(0)) {
      const message = JSON.parse(this.pending.subarray(0, end).toString("utf8"));
      this.pending = this.pending.subarray(end + 1);
      this.dispatch(message);
    }
  }

  dispatch(message) {
    if (message.id === undefined) {
      for (const listener of [...this.listeners]) listener(message);
      return;
    }
    const { resolve, reject, method } = this.waiting.get(message.id) || {};
    this.waiting.delete(message.id);
    if (!resolve) return;
    if (message.error) reject(new Error(`${method}: ${message.error.message}`));
    else resolve(message.result);
  }

  close(reason) {
    if (this.closedReason) return;
    this.closedReason = reason;
    for (const { reject } of this.waiting.values()) reject(new Error(reason));
    this.waiting.clear();
    for (const onClose of [...this.eventWaiters]) onClose(reason);
  }

  send(method, params = {}, sessionId = undefined) {
    if (this.closedReason) return Promise.reject(new Error(this.closedReason));
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.waiting.set(id, { resolve, reject, method });
      this.commandPipe.write(JSON.stringify(message) + "\0");
    });
  }

  // Resolves with the first event for which `accept` returns true; rejects
  // when the browser goes away first.
  waitForEvent(accept, what, timeoutMs) {
    if (this.closedReason) return Promise.reject(new Error(this.closedReason));
    return new Promise((resolve, reject) => {
      const finish = (settle, value) => {
        clearTimeout(timer);
        this.listeners.delete(listener);
        this.eventWaiters.delete(onClose);
        settle(value);
      };
      const timer = setTimeout(() => finish(reject, new Error(`gave up waiting for ${what}`)), timeoutMs);
      const listener = (message) => {
        if (accept(message)) finish(resolve, message);
      };
      const onClose = (reason) => finish(reject, new Error(`${reason} while waiting for ${what}`));
      this.listeners.add(listener);
      this.eventWaiters.add(onClose);
    });
  }
}

// One page target, reached through a flattened session.
export class PageSession {
  constructor(devtools, sessionId) {
    this.devtools = devtools;
    this.sessionId = sessionId;
  }

  send(method, params = {}) {
    return this.devtools.send(method, params, this.sessionId);
  }

  // Evaluates an expression in the page, awaiting it if it is a promise,
  // and returns its value.
  async evaluate(expression) {
    const { result, exceptionDetails } = await this.send("Runtime.evaluate", {
      expression,
      awaitPromise: true,
      returnByValue: true,
    });
    if (exceptionDetails) {
      const text = exceptionDetails.exception ? exceptionDetails.exception.description : exceptionDetails.text;
      throw new Error(`in the page: ${text}`);
    }
    return result.value;
  }

  // Waits in the page until the expression is true.
  waitUntil(condition, what, timeoutMs) {
    return this.evaluate(`new Promise((resolve, reject) => {
      const deadline = Date.now() + ${timeoutMs};
      const poll = () => {
        if (${condition}) return resolve(true);
        if (Date.now() > deadline) return reject(new Error(${JSON.stringify("gave up waiting for " + what)}));
        setTimeout(poll, 50);
      };
      poll();
    })`);
  }
}
