// The measurements, run in the extension page by the driver. Each one opens
// a port of its own to the named host, checks every reply and closes the
// port. Times are in milliseconds, from performance.now().
"use strict";

const request = (id) => ({ type: "RequestGetVersion", _direction: 1, _id: id });

// The echo returns the request itself; a host answers with the request's
// members and the version: either way the reply has the request's type.
function checkReply(message, id) {
  if (message._id !== id || message.error !== undefined || message.type !== "RequestGetVersion") {
    throw new Error(`not a reply to request ${id}: ${JSON.stringify(message)}`);
  }
}

// A port whose replies are awaited one by one, in order.
function openPort(hostName) {
  const port = chrome.runtime.connectNative(hostName);
  const replies = [];
  const waiting = [];
  let ended = null;
  port.onMessage.addListener((message) => {
    const next = waiting.shift();
    if (next) next.resolve(message);
    else replies.push(message);
  });
  port.onDisconnect.addListener(() => {
    ended = new Error(`${hostName} closed the port: ${chrome.runtime.lastError?.message ?? "no reason given"}`);
    for (const next of waiting.splice(0)) next.reject(ended);
  });
  return {
    post: (message) => port.postMessage(message),
    next: () =>
      replies.length ? Promise.resolve(replies.shift()) : ended ? Promise.reject(ended) : new Promise((resolve, reject) => waiting.push({ resolve, reject })),
    close: () => port.disconnect(),
  };
}

async function ask(port, id) {
  port.post(request(id));
  checkReply(await port.next(), id);
}

// From connectNative until the first reply has arrived.
async function connectToFirstReply(hostName) {
  const begin = performance.now();
  const port = openPort(hostName);
  try {
    await ask(port, 0);
    return performance.now() - begin;
  } finally {
    port.close();
  }
}

// `count` requests posted at once, timed until the last reply; messages/s.
async function pipelined(hostName, count) {
  const port = openPort(hostName);
  try {
    await ask(port, -1);
    const begin = performance.now();
    for (let id = 0; id < count; ++id) port.post(request(id));
    for (let id = 0; id < count; ++id) checkReply(await port.next(), id);
    return (count * 1000) / (performance.now() - begin);
  } finally {
    port.close();
  }
}

// One request at a time; the round trips' p50 and p99.
async function pingPong(hostName, count) {
  const port = openPort(hostName);
  try {
    await ask(port, -1);
    const times = [];
    for (let id = 0; id < count; ++id) {
      const begin = performance.now();
      await ask(port, id);
      times.push(performance.now() - begin);
    }
    times.sort((a, b) => a - b);
    // Nearest rank, as the pipe benchmark counts it.
    const at = (share) => times[Math.max(Math.ceil(share * times.length - 1e-9), 1) - 1];
    return { p50: at(0.5), p99: at(0.99) };
  } finally {
    port.close();
  }
}
