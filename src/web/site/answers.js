// Answers that come back to the teacher, readable by the teacher alone: each tablet makes its own
// key pair, agrees a key with the teacher's public key from the class link (ECDH, then HKDF) and
// seals every answer with it (AES-GCM), so the relay and the other tablets see only ciphertext.
// The teacher's page opens them, takes each tablet's answers in order and at a modest rate, and
// knows a tablet by its public key: a second tablet claiming a seat shows as a second answer.
// Like class.js, nothing here knows the page.
import { base64url, fromBase64url, largestMessage } from './wire.js';

const encoder = new TextEncoder();
const decoder = new TextDecoder();
const agreeing = { name: 'ECDH', namedCurve: 'P-256' };
const sealing = { name: 'AES-GCM', length: 256 };

// The longest answer a student types; a longer one is cut to it.
export const longestAnswer = 100;

async function answerKey(crypto, privateKey, publicKey, uses) {
  const shared = await crypto.subtle.deriveBits({ name: 'ECDH', public: publicKey }, privateKey, 256);
  const material = await crypto.subtle.importKey('raw', shared, 'HKDF', false, ['deriveKey']);
  return crypto.subtle.deriveKey(
    { name: 'HKDF', hash: 'SHA-256', salt: new Uint8Array(0), info: encoder.encode('kansu answer') },
    material, sealing, false, uses);
}

// What binds a sealed answer to its class and its tablet, so it cannot be passed off as another's;
// and the teacher's word that it has a tablet's answers up to a number, to that tablet alone.
const boundTo = (classId, sender) => encoder.encode(`${classId}|${sender}`);
const ackBoundTo = (classId, sender) => encoder.encode(`${classId}|${sender}|ack`);

// The subject on which a tablet hears that the teacher has its answer: named by its key.
export const ackToken = (sender) => sender.slice(1, 23);

async function sealed(crypto, key, bound, value) {
  const iv = crypto.getRandomValues(new Uint8Array(12));
  const text = JSON.stringify(value);
  const plain = encoder.encode(text.padEnd(Math.ceil((text.length + 1) / 256) * 256, ' '));
  const bytes = await crypto.subtle.encrypt({ name: 'AES-GCM', iv, additionalData: bound }, key, plain);
  return { i: base64url(iv), x: base64url(new Uint8Array(bytes)) };
}

async function opened(crypto, key, bound, i, x) {
  const iv = fromBase64url(i);
  const bytes = fromBase64url(x);
  if (!iv || iv.length !== 12 || !bytes || bytes.length < 16) return null;
  try {
    return JSON.parse(decoder.decode(await crypto.subtle.decrypt({ name: 'AES-GCM', iv, additionalData: bound }, key, bytes)));
  } catch {
    return null;
  }
}

function messageIn(bytes, kind, classId) {
  if (!(bytes instanceof Uint8Array) || bytes.length > largestMessage) return null;
  try {
    const message = JSON.parse(decoder.decode(bytes));
    if (typeof message !== 'object' || message === null || message.k !== kind || message.c !== classId ||
        typeof message.i !== 'string' || typeof message.x !== 'string') return null;
    return message;
  } catch {
    return null;
  }
}

// A tablet's side. Its key pair is kept by the page (a reload is the same tablet); each answer is
// numbered from the clock, or on from the newest number the teacher has told, if that is later,
// so the teacher takes only the newest.
export class AnswerSender {
  constructor({ link, crypto = globalThis.crypto }) {
    Object.assign(this, { link, crypto });
    this.number = 0;
  }

  // saved: the key pair as the page kept it (JWK), or none for a new one. Returns it to keep.
  async start(saved = null) {
    const { subtle } = this.crypto;
    let pair = null;
    if (saved) {
      try {
        const { privateKey, publicKey } = JSON.parse(saved);
        pair = {
          privateKey: await subtle.importKey('jwk', privateKey, agreeing, true, ['deriveBits']),
          publicKey: await subtle.importKey('jwk', publicKey, agreeing, true, []),
        };
      } catch {
        pair = null;
      }
    }
    pair ??= await subtle.generateKey(agreeing, true, ['deriveBits']);
    const teacher = await subtle.importKey('raw', this.link.box, agreeing, false, []);
    this.key = await answerKey(this.crypto, pair.privateKey, teacher, ['encrypt', 'decrypt']);
    this.sender = base64url(new Uint8Array(await subtle.exportKey('raw', pair.publicKey)));
    return JSON.stringify({
      privateKey: await subtle.exportKey('jwk', pair.privateKey),
      publicKey: await subtle.exportKey('jwk', pair.publicKey),
    });
  }

  // The message that carries one answer: { seat, question, text }.
  async seal(answer) {
    return (await this.sealNumbered(answer)).bytes;
  }

  // And its number. Every answer is padded to the same length (a multiple of 256 bytes, which any
  // answer a student types fits), so its length tells the relay nothing of what it says.
  async sealNumbered({ seat, question, text }) {
    this.number = Math.max(this.number + 1, Date.now() * 1000);
    const number = this.number;
    const { i, x } = await sealed(this.crypto, this.key, boundTo(this.link.id, this.sender),
      { s: seat, q: question, a: text.slice(0, longestAnswer), n: number });
    return { bytes: encoder.encode(JSON.stringify({ k: 'answer', c: this.link.id, e: this.sender, i, x })), number };
  }

  // The number up to which the teacher has this tablet's answers, from the teacher's word; 0 for
  // anything else.
  async acknowledged(bytes) {
    const message = messageIn(bytes, 'ack', this.link.id);
    if (!message) return 0;
    const value = await opened(this.crypto, this.key, ackBoundTo(this.link.id, this.sender), message.i, message.x);
    return Number.isSafeInteger(value?.n) ? value.n : 0;
  }
}

// How many answers a tablet may send at once, and how fast it earns another; how many tablets a
// class may have; how many new tablets a second are heard (each costs a key agreement).
const burst = 5;
const perSecond = 1;
const mostSenders = 200;
const newSendersPerSecond = 50;
// A tablet that did not hear the teacher's word is told again, at most this often.
const toldAgainEvery = 1000;

// The teacher's side: opens what comes, gives the page each tablet's newest answer to the open
// question, and drops anything else without a word. A tablet is known (and counts towards the
// most a class has) only once an answer of its has opened; a seat's answers, from however many
// tablets, are limited as a tablet's are.
export class AnswerBox {
  constructor({ cls, crypto = globalThis.crypto, now = () => Date.now() }) {
    Object.assign(this, { cls, crypto, now });
    this.senders = new Map(); // public key -> { key, last, tokens, at, toldAt }
    this.seats = new Map(); // seat -> { tokens, at }
    this.newSenders = { tokens: newSendersPerSecond, at: now() };
  }

  // What came, opened: { sender, answer: { sender, seat, question, text } or none, ack: the number to
  // tell the tablet the teacher has (0 for nothing to tell) }, or null for what is no answer.
  // The answer taken last, seen again, is told again (the tablet did not hear), and so is one
  // numbered below it; one that comes too soon after the last, from its tablet or for its seat,
  // is neither taken nor told, so the tablet sends it again later.
  async open(bytes) {
    const message = messageIn(bytes, 'answer', this.cls.id);
    if (!message || typeof message.e !== 'string') return null;
    const { e, i, x } = message;
    const point = fromBase64url(e);
    if (!point || point.length !== 65 || point[0] !== 4) return null;
    let sender = this.senders.get(e) ?? await this.newSender(point);
    if (!sender) return null;
    const { s, q, a, n } = (await opened(this.crypto, sender.key, boundTo(this.cls.id, e), i, x)) ?? {};
    if (!Number.isInteger(s) || s < 1 || s > 99 || !Number.isSafeInteger(q) || q <= 0 ||
        typeof a !== 'string' || a.length > longestAnswer || !Number.isSafeInteger(n)) {
      return null;
    }
    const known = this.senders.get(e); // a first answer and its copy may open side by side
    if (known) sender = known;
    else if (this.senders.size < mostSenders) this.senders.set(e, sender);
    else return null;
    const now = this.now();
    if (n <= sender.last) {
      // Seen before, or numbered below the newest taken (a tablet whose clock went back across a
      // reload): the tablet is told the newest number taken, and numbers on from it.
      if (now - sender.toldAt < toldAgainEvery) return null;
      sender.toldAt = now;
      return { sender: e, answer: null, ack: sender.last };
    }
    // Counted only once it is a new answer, so a replay cannot use up a tablet's or a seat's turn.
    if (!this.seats.has(s)) this.seats.set(s, { tokens: burst, at: now });
    const seat = this.seats.get(s);
    if (!ready(sender, now) || !ready(seat, now)) return { sender: e, answer: null, ack: 0 };
    sender.tokens -= 1;
    seat.tokens -= 1;
    sender.last = n;
    sender.toldAt = now;
    return { sender: e, answer: { sender: e, seat: s, question: q, text: a }, ack: n };
  }

  // The teacher's word to a tablet that its answers up to n have come.
  async ack(e, n) {
    const sender = this.senders.get(e);
    const { i, x } = await sealed(this.crypto, sender.key, ackBoundTo(this.cls.id, e), { n });
    return encoder.encode(JSON.stringify({ k: 'ack', c: this.cls.id, i, x }));
  }

  // A tablet not heard from before: its key, agreed with the teacher's (at a limited rate, as it
  // is the costly part), not yet known.
  async newSender(point) {
    if (this.senders.size >= mostSenders || !ready(this.newSenders, this.now(), newSendersPerSecond, newSendersPerSecond)) return null;
    this.newSenders.tokens -= 1;
    try {
      const key = await this.crypto.subtle.importKey('raw', point, agreeing, false, []);
      return { key: await answerKey(this.crypto, this.cls.box.privateKey, key, ['encrypt', 'decrypt']), last: 0, tokens: burst, at: this.now(), toldAt: 0 };
    } catch {
      return null; // not a point on the curve
    }
  }
}

// Whether a bucket that holds `most` and fills at `rate` a second has a token now.
function ready(bucket, now, most = burst, rate = perSecond) {
  bucket.tokens = Math.min(most, bucket.tokens + ((now - bucket.at) / 1000) * rate);
  bucket.at = now;
  return bucket.tokens >= 1;
}
