// A class that follows its teacher through a message relay the school runs (NATS): the teacher's
// page sends every moment it reaches, signed with the teacher's key; the class's pages show them.
// The relay keeps nothing and learns nothing it could misuse: the class's name is 128 random
// bits that only the class link carries, a moment not signed by the teacher is never shown, and
// answers are sealed for the teacher alone (answers.js). Nothing here knows the page: the same
// module runs in the browser and in Node (for the load test), handed a NATS connect function and
// WebCrypto.

import { AnswerBox, AnswerSender, ackToken } from './answers.js';
import { base64url, fromBase64url, largestMessage, subjectOf } from './wire.js';

const encoder = new TextEncoder();
const decoder = new TextDecoder();

const signing = { name: 'ECDSA', namedCurve: 'P-256' };
const signature = { name: 'ECDSA', hash: 'SHA-256' };
const agreeing = { name: 'ECDH', namedCurve: 'P-256' };

// A new class: its name, 128 random bits, and the teacher's keys: one to sign the moments, one
// for the answers that come back encrypted to it.
export async function createClass(crypto = globalThis.crypto) {
  const id = base64url(crypto.getRandomValues(new Uint8Array(16)));
  const sign = await crypto.subtle.generateKey(signing, true, ['sign', 'verify']);
  const box = await crypto.subtle.generateKey(agreeing, true, ['deriveKey', 'deriveBits']);
  return { id, sign, box };
}

// A class as a teacher's tab keeps it (session storage), and back.
export async function savedClass(cls, crypto = globalThis.crypto) {
  const jwk = (key) => crypto.subtle.exportKey('jwk', key);
  return JSON.stringify({
    id: cls.id,
    sign: [await jwk(cls.sign.privateKey), await jwk(cls.sign.publicKey)],
    box: [await jwk(cls.box.privateKey), await jwk(cls.box.publicKey)],
  });
}

export async function restoredClass(text, crypto = globalThis.crypto) {
  try {
    const saved = JSON.parse(text);
    const key = (jwk, algorithm, uses) => crypto.subtle.importKey('jwk', jwk, algorithm, true, uses);
    return {
      id: saved.id,
      sign: { privateKey: await key(saved.sign[0], signing, ['sign']), publicKey: await key(saved.sign[1], signing, ['verify']) },
      box: { privateKey: await key(saved.box[0], agreeing, ['deriveKey', 'deriveBits']), publicKey: await key(saved.box[1], agreeing, []) },
    };
  } catch {
    return null;
  }
}

// What a class link carries after its "#" (and nothing of it goes to the site's server): the
// class's name and the teacher's two public keys.
export async function classFragment(cls, crypto = globalThis.crypto) {
  const raw = async (key) => base64url(new Uint8Array(await crypto.subtle.exportKey('raw', key)));
  return `class=${cls.id}&t=${await raw(cls.sign.publicKey)}&k=${await raw(cls.box.publicKey)}`;
}

export function isClassFragment(fragment) {
  return /^#?class=/.test(fragment);
}

// A class link read back: exactly its three parts, each well formed; anything else is none.
export function readClassFragment(fragment) {
  const text = fragment.replace(/^#/, '');
  if (text.length > 512) return null;
  const parts = new Map();
  for (const part of text.split('&')) {
    const at = part.indexOf('=');
    if (at < 1 || parts.has(part.slice(0, at))) return null;
    parts.set(part.slice(0, at), part.slice(at + 1));
  }
  const id = parts.get('class');
  const teacher = fromBase64url(parts.get('t'));
  const box = fromBase64url(parts.get('k'));
  const point = (key) => key && key.length === 65 && key[0] === 4;
  if (parts.size !== 3 || !/^[A-Za-z0-9_-]{22}$/.test(id ?? '') || !point(teacher) || !point(box)) return null;
  return { id, teacher, box };
}

// What the teacher signs of a moment: the class, the moment's number, the moment as a link would
// name it, whether it plays, whether the class's own controls are locked, and the question the
// class is asked (its number, 0 for none, and its text).
function signed(message) {
  return encoder.encode(`${message.c}|${message.n}|${message.m}|${message.p}|${message.l}|${message.q}|${message.a}`);
}

// A moment received, if it is one: its parts, each of its kind and size. Whether it is the
// teacher's is for its signature to say.
export function momentIn(bytes, classId) {
  if (!(bytes instanceof Uint8Array) || bytes.length > largestMessage) return null;
  let message;
  try {
    message = JSON.parse(decoder.decode(bytes));
  } catch {
    return null;
  }
  if (typeof message !== 'object' || message === null || Array.isArray(message)) return null;
  const { k, c, n, m, p, l, q, a, g } = message;
  if (k !== 'moment' || c !== classId || !Number.isSafeInteger(n) || n <= 0 || typeof m !== 'string' ||
      m.length > 3000 || (p !== 0 && p !== 1) || (l !== 0 && l !== 1) || typeof g !== 'string' ||
      !Number.isSafeInteger(q) || q < 0 || typeof a !== 'string' || a.length > 300 || (q === 0) !== (a === '')) {
    return null;
  }
  const sig = fromBase64url(g);
  if (!sig || sig.length !== 64) return null;
  return { k, c, n, m, p, l, q, a, sig };
}

// How often the teacher's page says the class's moment again when nothing changes, so a tablet
// knows its teacher is still there (and one that missed a moment has it).
export const heartbeat = 20000;
// Tablets that ask for the moment together (a class joining at once, a relay back) are answered
// together: at most one answer in this time, however many ask.
const replyEvery = 200;
// How long a tablet waits for the teacher to say it has an answer before sending it again.
const resendAnswer = 3000;

// Options for a connection to the relay that never gives up: a reconnect waits longer the longer
// the relay has been away (half a second, doubling, at most 15 s), so a class of forty does not
// knock at once on a relay that is starting again.
// The time away counts from the first try after the connection was lost, however late the page
// hears of the loss, so the first try again after a long lesson comes at once.
function connection(name) {
  let awaySince = Date.now();
  return {
    name, reconnect: true, maxReconnectAttempts: -1, waitOnFirstConnect: true, pingInterval: 10000,
    noRandomize: true,
    reconnectDelayHandler: () => {
      awaySince ??= Date.now();
      const away = Date.now() - awaySince;
      return Math.min(15000, Math.max(500, away / 2)) * (0.8 + 0.4 * Math.random());
    },
    away: () => {
      awaySince ??= Date.now();
    },
    back: () => {
      awaySince = null;
    },
  };
}

// The teacher's page: every moment it reaches goes to the class, signed; a tablet that asks (it
// joined late, or slept, or lost the relay) is sent the latest moment again.
export class Lead {
  constructor({ connect, servers, cls, crypto = globalThis.crypto, onStatus = () => {}, onAnswer = null }) {
    Object.assign(this, { connect, servers, cls, crypto, onStatus, onAnswer });
    this.latest = null; // the last moment sent, as sent
    this.shown = null;
    this.number = 0;
    this.connection = null;
    this.replyTimer = 0;
    this.lastReply = 0;
    this.beat = 0;
  }

  async start() {
    const { away, back, ...options } = connection('kansu-teacher');
    this.connection = await this.connect({ servers: this.servers, ...options });
    back();
    watch(this.connection, this.onStatus, { away, back }, () => this.replySoon());
    const hello = this.connection.subscribe(subjectOf(this.cls.id, 'hello'));
    (async () => {
      for await (const _ of hello) this.replySoon();
    })().catch(() => {});
    if (this.onAnswer) this.listenForAnswers();
    this.beat = setInterval(() => this.resend(), heartbeat);
    this.onStatus('connected');
    this.resend();
  }

  // Answers are opened side by side (the newest of a tablet's wins); what does not open is dropped.
  listenForAnswers() {
    const box = new AnswerBox({ cls: this.cls, crypto: this.crypto });
    const answers = this.connection.subscribe(subjectOf(this.cls.id, 'answer'));
    const tell = async (sender, n) => {
      const bytes = await box.ack(sender, n);
      this.connection.publish(`${subjectOf(this.cls.id, 'ack')}.${ackToken(sender)}`, bytes);
    };
    (async () => {
      for await (const message of answers) {
        box.open(message.data).then((opened) => {
          if (opened?.answer) this.onAnswer(opened.answer);
          if (opened?.ack) return tell(opened.sender, opened.ack);
          return null;
        }).catch(() => {});
      }
    })().catch(() => {});
  }

  replySoon() {
    if (this.replyTimer) return;
    const wait = Math.max(0, this.lastReply + replyEvery - Date.now());
    this.replyTimer = setTimeout(() => {
      this.replyTimer = 0;
      this.lastReply = Date.now();
      this.resend();
    }, wait);
  }

  resend() {
    if (this.latest && this.connection && !this.connection.isClosed()) {
      try {
        this.connection.publish(subjectOf(this.cls.id, 'moment'), this.latest);
      } catch {
        // Not connected just now: the moment goes again once the relay is back.
      }
    }
  }

  // moment: { link, playing, lock, question: { number, text } or none }. Sent only when it
  // differs from the last.
  async show({ link, playing, lock, question = null }) {
    const key = `${link}|${playing}|${lock}|${question?.number ?? 0}`;
    if (key === this.shown) return;
    this.shown = key;
    // Numbered from the clock, so a reloaded page's moments still come after its earlier ones.
    this.number = Math.max(this.number + 1, Date.now() * 1000);
    const message = {
      k: 'moment', c: this.cls.id, n: this.number, m: link, p: playing ? 1 : 0, l: lock ? 1 : 0,
      q: question?.number ?? 0, a: question?.text ?? '',
    };
    const sig = await this.crypto.subtle.sign(signature, this.cls.sign.privateKey, signed(message));
    if (key !== this.shown) return; // a later moment came while this one was signed
    this.latest = encoder.encode(JSON.stringify({ ...message, g: base64url(new Uint8Array(sig)) }));
    this.resend();
  }

  async close() {
    clearInterval(this.beat);
    clearTimeout(this.replyTimer);
    try {
      await this.connection?.drain();
    } catch {
      await this.connection?.close();
    }
  }
}

// A tablet in the class: it shows the teacher's moments, the newest only, each checked against
// the teacher's key from the class link; anything else is never shown. heard is when the teacher
// was last heard from (a new moment, or the last one said again).
export class Follow {
  constructor({ connect, servers, link, crypto = globalThis.crypto, onMoment, onStatus = () => {}, onSent = () => {} }) {
    Object.assign(this, { connect, servers, link, crypto, onMoment, onStatus, onSent });
    this.answers = new AnswerSender({ link, crypto });
    this.pending = null; // the latest answer, until the teacher says it has it: { bytes, number, answer }
    this.resendTimer = 0;
    this.online = false;
    this.last = 0; // the number of the newest moment shown
    this.lastBytes = null; // and that moment as it came
    this.heard = 0;
    this.waiting = []; // moments not yet checked, the latest few
    this.checking = false;
    this.connection = null;
  }

  // keys: the tablet's answer keys as the page kept them, if any. Returns them to keep.
  async start(keys = null) {
    this.key = await this.crypto.subtle.importKey('raw', this.link.teacher, signing, false, ['verify']);
    const kept = await this.answers.start(keys);
    const { away, back, ...options } = connection('kansu-student');
    this.connection = await this.connect({ servers: this.servers, ...options });
    back();
    this.online = true;
    const told = (status) => {
      this.online = status === 'connected';
      this.onStatus(status);
    };
    watch(this.connection, told, { away, back }, () => {
      this.hello();
      this.sendPending();
    });
    const acks = this.connection.subscribe(`${subjectOf(this.link.id, 'ack')}.${ackToken(this.answers.sender)}`);
    (async () => {
      for await (const message of acks) this.acknowledged(message.data);
    })().catch(() => {});
    const moments = this.connection.subscribe(subjectOf(this.link.id, 'moment'));
    (async () => {
      for await (const message of moments) this.receive(message.data);
    })().catch(() => {});
    this.onStatus('connected');
    this.hello();
    return kept;
  }

  // Sends an answer { seat, question, text } to the teacher, sealed, and again every few seconds
  // (and as soon as the relay is back) until the teacher says it has it: a teacher away from the
  // relay, or an answer that came too soon after the last, is not lost. The teacher takes it once.
  // onSent tells when the teacher has it; returns whether the relay can be reached now.
  async answer(answer) {
    const { bytes, number } = await this.answers.sealNumbered(answer);
    if (this.pending && this.pending.number > number) return this.online; // a later one is on its way
    this.pending = { bytes, number, answer };
    this.sendPending();
    return this.online;
  }

  sendPending() {
    clearTimeout(this.resendTimer);
    if (!this.pending) return;
    if (this.online && !this.connection.isClosed()) {
      try {
        this.connection.publish(subjectOf(this.link.id, 'answer'), this.pending.bytes);
      } catch {
        // Sent again below.
      }
    }
    this.resendTimer = setTimeout(() => this.sendPending(), resendAnswer);
  }

  // The teacher has the answer waiting only when it names that answer's number. A later number
  // is one this tablet gave before its clock went back across a reload: the answer goes again,
  // numbered on from it.
  async acknowledged(bytes) {
    const n = await this.answers.acknowledged(bytes);
    const { pending } = this;
    if (!pending || n < pending.number) return;
    if (n === pending.number) {
      this.pending = null;
      clearTimeout(this.resendTimer);
      this.onSent(pending.answer.question);
      return;
    }
    this.answers.number = Math.max(this.answers.number, n);
    const again = await this.answers.sealNumbered(pending.answer);
    if (this.pending !== pending) return; // another answer since, sent as it is
    this.pending = { ...pending, ...again };
    this.sendPending();
  }

  // Asks for the moment the class is at.
  hello() {
    if (this.connection && !this.connection.isClosed()) {
      try {
        this.connection.publish(subjectOf(this.link.id, 'hello'), encoder.encode('{"k":"hello"}'));
      } catch {
        // Asked again once the relay is back.
      }
    }
  }

  // A few wait to be checked, the latest ones: a flood costs a glance at each message and a check
  // of a few, and no number a forger writes can keep the teacher's next moment out.
  receive(bytes) {
    if (this.lastBytes && sameBytes(bytes, this.lastBytes)) {
      this.heard = Date.now();
      return;
    }
    const moment = momentIn(bytes, this.link.id);
    if (!moment || moment.n <= this.last) return;
    moment.bytes = bytes;
    this.waiting.push(moment);
    if (this.waiting.length > 8) this.waiting.shift();
    if (!this.checking) this.check();
  }

  // The newest first: a tablet that fell behind (asleep, slow, flooded) catches up with one check
  // and never shows the moments it missed on the way.
  async check() {
    this.checking = true;
    while (this.waiting.length) {
      let newest = 0;
      for (let i = 1; i < this.waiting.length; ++i) if (this.waiting[i].n > this.waiting[newest].n) newest = i;
      const [moment] = this.waiting.splice(newest, 1);
      if (moment.n <= this.last) continue;
      let genuine = false;
      try {
        genuine = await this.crypto.subtle.verify(signature, this.key, moment.sig, signed(moment));
      } catch {
        genuine = false;
      }
      if (genuine && moment.n > this.last) {
        this.last = moment.n;
        this.lastBytes = moment.bytes;
        this.heard = Date.now();
        this.waiting = this.waiting.filter((waiting) => waiting.n > this.last);
        try {
          this.onMoment({
            link: moment.m, playing: moment.p === 1, lock: moment.l === 1, number: moment.n,
            question: moment.q ? { number: moment.q, text: moment.a } : null,
          });
        } catch {
          // What the page makes of a moment is the page's matter; the class goes on.
        }
      }
    }
    this.checking = false;
  }

  async close() {
    clearTimeout(this.resendTimer);
    await this.connection?.close();
  }
}

function sameBytes(a, b) {
  if (!(a instanceof Uint8Array) || a.length !== b.length) return false;
  for (let i = 0; i < a.length; ++i) if (a[i] !== b[i]) return false;
  return true;
}

// Tells the page whether the relay answers, and asks again for the moment once it does.
function watch(connection, onStatus, { away, back }, answer) {
  (async () => {
    for await (const status of connection.status()) {
      if (status.type === 'disconnect') {
        away();
        onStatus('disconnected');
      }
      if (status.type === 'reconnect') {
        back();
        onStatus('connected');
        answer();
      }
    }
  })().catch(() => {});
  connection.closed().then(() => onStatus('closed'), () => onStatus('closed'));
}
