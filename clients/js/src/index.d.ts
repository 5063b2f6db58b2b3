// The library's interface; the protocol's own types come from protocol.d.ts,
// which is generated from the host's tables.
import type { EventCodes, EventParams, PortalAnswer, PortalAnswers, Requests } from "./protocol.js";

export type { EventCodes, EventParams, PortalAnswer, PortalAnswerHeader, PortalAnswers, Requests } from "./protocol.js";

export type RequestType = keyof Requests;
export type RequestMembers<T extends RequestType> = Requests[T]["members"];
/** A reply: the request's own members back, and what the host added. */
export type Reply<T extends RequestType> = { type: T; _id: number; _direction: 2 } & RequestMembers<T> &
  Requests[T]["reply"];

export type EventCode = keyof EventParams;
export type EventName = keyof EventCodes;
export type PortalAnswerType = keyof PortalAnswers;

export interface HostEvent<C extends EventCode = EventCode> {
  code: C;
  /** The event's name, as in EVENT_CODES. */
  name: string | undefined;
  params: EventParams[C];
}

/** An event message of any code, the host's own among them (270003). */
export interface AnyEvent {
  code: number | string;
  name: string | undefined;
  params: unknown;
}

export type EventHandler<C extends EventCode> = (params: EventParams[C], event: HostEvent<C>) => void;

export type Subscription = EventCode | EventName | PortalAnswerType | "*" | "disconnected";

export type HandlerFor<E extends Subscription> = E extends "disconnected"
  ? (reason: string) => void
  : E extends "*"
    ? (params: unknown, event: AnyEvent) => void
    : E extends EventName
      ? EventHandler<EventCodes[E]>
      : E extends EventCode
        ? EventHandler<E>
        : E extends PortalAnswerType
          ? (params: PortalAnswer<E>, event: HostEvent<200900>) => void
          : never;

export declare const HOST_NAME: "com.tavmo.client_for_web";
export declare const BRIDGE_DISCONNECTED: "tavmoBridgeDisconnected";
export declare const EVENT_CODES: Readonly<EventCodes>;
export declare const EVENT_NAMES: Readonly<{ [C in EventCode]: string }>;
export declare const PORTAL_ANSWER_TYPES: readonly PortalAnswerType[];

/** A request the host (or the bridge) answered with "error". */
export declare class TavmoRequestError extends Error {
  readonly type: string;
  /** The reply's "error" text. */
  readonly error: string;
  readonly reply: { [member: string]: unknown };
}

/** A request that can no longer be answered: the connection has ended. */
export declare class TavmoDisconnectedError extends Error {
  /** The browser's reason, or the bridge's. */
  readonly reason: string;
}

export declare class TavmoClient {
  readonly connected: boolean;
  request<T extends RequestType>(type: T, members?: RequestMembers<T>): Promise<Reply<T>>;
  on<E extends Subscription>(event: E, handler: HandlerFor<E>): this;
  off<E extends Subscription>(event: E, handler: HandlerFor<E>): this;
  close(): void;
}

/** The part of an extension messaging port the library uses. */
export interface PortLike {
  postMessage(message: object): void;
  disconnect(): void;
  onMessage: { addListener(listener: (message: any) => void): void };
  onDisconnect: { addListener(listener: (port: any) => void): void };
}

export interface ConnectOptions {
  /** From a website: the id of the extension that bridges to the host. */
  extensionId?: string;
  /** A port the page opened itself. */
  port?: PortLike;
  /** The native host's name, for connect() from an extension page. */
  hostName?: string;
}

export declare function connect(options?: ConnectOptions): TavmoClient;
