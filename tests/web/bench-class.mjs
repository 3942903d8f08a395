// Classes following their teachers through one relay: nats-server with the project's own
// configuration, and in this process a teacher and forty tablets per class, each a client of the
// relay's WebSocket listener using the page's own class module and relay client (the site's
// class.js and nats.js). Every teacher plays at "20" (a moment each 100 ms) for the measured
// time. Prints one figure a line: the delay from a teacher's moment to its tablets (p50, p95,
// max), the messages a second through the relay, the relay's CPU and memory, and how many tablets
// ended behind their teacher's last moment; then each class answers a question, and it prints
// the time from a tablet's answer to its teacher's tally.
//   KANSU_SITE=build-web/site node bench-class.mjs [CLASSES] [STUDENTS] [SECONDS]
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { webcrypto } from 'node:crypto';
import WebSocket from 'ws';
import { freePort, relay } from './relay.mjs';

const [classes = 30, students = 40, seconds = 20] = process.argv.slice(2).map(Number);
const site = process.env.KANSU_SITE;
globalThis.WebSocket = WebSocket; // what nats.ws expects of a browser
const { connect } = await import(pathToFileURL(join(site, 'nats.js')).href);
// The class's own module as written: in the site it is put together with the rest of 授業.
const { Follow, Lead, classFragment, createClass, readClassFragment } = await import(new URL('../../src/web/site/class.js', import.meta.url).href);

const now = () => performance.timeOrigin + performance.now();
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The relay's own CPU time (user and system, in clock ticks) and resident memory, from /proc.
function relayUse(pid) {
  const stat = readFileSync(`/proc/${pid}/stat`, 'utf8');
  const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
  const ticks = Number(fields[11]) + Number(fields[12]);
  const rss = Number(readFileSync(`/proc/${pid}/status`, 'utf8').match(/VmRSS:\s+(\d+)/)[1]) * 1024;
  return { ticks, rss };
}

const server = relay({ client: await freePort(), ws: await freePort() });
await server.start();
const servers = [server.wsUrl];
const sent = new Map(); // `${class}|${number}` -> when the teacher sent it
const delays = [];
let measuring = false;
const answersSent = new Map(); // an answer's text -> when its tablet sent it
const answerDelays = [];
const answeredRound = new Map(); // a tablet ("class seat") -> the latest round of its answers tallied
const ackDelays = []; // from a tablet's answer to its 送りました

// A real class's forty tablets each check the teacher's signature on their own processor; here
// they share this machine's two cores with the relay and the teachers. So the tablets of a class
// share one check of each message they all receive alike (the class module still asks for its
// own check, and waits for it, each time); the cost of one check is reported on its own.
function tabletCrypto() {
  const answers = new Map();
  const text = (bytes) => Buffer.from(bytes.buffer ?? bytes, bytes.byteOffset ?? 0, bytes.byteLength).toString('base64');
  return {
    getRandomValues: (array) => webcrypto.getRandomValues(array),
    subtle: {
      ...Object.fromEntries(['importKey', 'exportKey', 'generateKey', 'deriveBits', 'deriveKey', 'encrypt', 'decrypt']
        .map((name) => [name, webcrypto.subtle[name].bind(webcrypto.subtle)])),
      verify: (algorithm, key, sig, data) => {
        const id = `${text(sig)}|${text(data)}`;
        let answer = answers.get(id);
        if (!answer) {
          answer = webcrypto.subtle.verify(algorithm, key, sig, data);
          answers.set(id, answer);
          if (answers.size > 64) answers.delete(answers.keys().next().value);
        }
        return answer;
      },
    },
  };
}

async function checkCost() {
  const cls = await createClass(webcrypto);
  const link = readClassFragment(await classFragment(cls, webcrypto));
  const key = await webcrypto.subtle.importKey('raw', link.teacher, { name: 'ECDSA', namedCurve: 'P-256' }, false, ['verify']);
  const data = new TextEncoder().encode('{"k":"moment","n":1766000000000000,"m":"x=4.5&c=011000&s=20"}');
  const algorithm = { name: 'ECDSA', hash: 'SHA-256' };
  const sig = await webcrypto.subtle.sign(algorithm, cls.sign.privateKey, data);
  const n = 2000;
  const start = performance.now();
  for (let i = 0; i < n; ++i) await webcrypto.subtle.verify(algorithm, key, sig, data);
  return ((performance.now() - start) / n) * 1000;
}

const all = [];
for (let c = 0; c < classes; ++c) {
  const cls = await createClass(webcrypto);
  const link = readClassFragment(await classFragment(cls, webcrypto));
  const lead = new Lead({
    connect, servers, cls, crypto: webcrypto,
    onAnswer: ({ text }) => {
      const at = answersSent.get(text);
      if (at !== undefined) {
        answerDelays.push(now() - at);
        answersSent.delete(text);
        const [cls, seat, round] = text.split(' ');
        const tablet = `${cls} ${seat}`;
        answeredRound.set(tablet, Math.max(answeredRound.get(tablet) ?? -1, Number(round)));
      }
    },
  });
  await lead.start();
  const followers = [];
  const crypto = tabletCrypto();
  for (let s = 0; s < students; ++s) {
    const follow = new Follow({
      connect, servers, link, crypto,
      onMoment: ({ number }) => {
        const at = sent.get(`${c}|${number}`);
        if (measuring && at !== undefined) delays.push(now() - at);
      },
      onSent: () => ackDelays.push(now() - follow.answeredAt),
    });
    await follow.start();
    follow.seat = s + 1;
    followers.push(follow);
  }
  all.push({ lead, followers, cls, tenths: 0 });
}

// Each teacher plays at "20": a forward step each 100 ms, from 0.0 to 8.0 and round again; the
// classes out of step with each other, as real ones are.
let playing = true;
async function play(k) {
  const one = all[k];
  await sleep(Math.random() * 100);
  while (playing) {
    one.tenths = (one.tenths + 1) % 81;
    const x = `${Math.floor(one.tenths / 10)}.${one.tenths % 10}`;
    const showing = one.lead.show({ link: `x=${x}&c=011000&s=20`, playing: true, lock: false });
    sent.set(`${k}|${one.lead.number}`, now());
    await showing;
    await sleep(100);
  }
}

const pid = server.child.pid;
const players = all.map((_, k) => play(k));
await sleep(2000); // everyone under way
const startUse = relayUse(pid);
const started = now();
const startCounts = await relayCounts();
measuring = true;
await sleep(seconds * 1000);
measuring = false;
const endCounts = await relayCounts();
const elapsed = (now() - started) / 1000;
const endUse = relayUse(pid);
playing = false;
await Promise.all(players);
// Every tablet at its teacher's last moment once the relay has passed it on.
await sleep(2000);
let behind = 0;
for (const one of all) for (const f of one.followers) if (f.last !== one.lead.number) behind += 1;

// Then every teacher asks a question, and every tablet answers it three times over six seconds
// (a first answer, then two changes), each at its own moment: from the tablet's send to the
// teacher's tally.
const question = Date.now();
for (const one of all) await one.lead.show({ link: 'x=3&c=011000&s=20', playing: false, lock: false, question: { number: question, text: 'x = 3 のとき、y の値を求めなさい。' } });
await sleep(1000);
const answering = [];
for (const [c, one] of all.entries()) {
  for (const f of one.followers) {
    answering.push((async () => {
      for (let round = 0; round < 3; ++round) {
        await sleep(Math.random() * 2000);
        const text = `${c} ${f.seat} ${round}`;
        answersSent.set(text, now());
        f.answeredAt = now();
        await f.answer({ seat: f.seat, question, text });
      }
    })());
  }
}
await Promise.all(answering);
await sleep(2000);
// An answer overtaken by the same tablet's next one (sent at once after it) is rightly not
// taken; lost is an answer with nothing of its tablet's taken after it.
const answersLost = [...answersSent.keys()].filter((text) => {
  const [cls, seat, round] = text.split(' ');
  return (answeredRound.get(`${cls} ${seat}`) ?? -1) < Number(round);
}).length;

delays.sort((a, b) => a - b);
const at = (q) => delays[Math.min(delays.length - 1, Math.floor(q * delays.length))];
const ticksPerSecond = 100;
console.log(`class_tablets ${classes * students} (${classes} classes of ${students})`);
console.log(`class_moments_measured ${delays.length}`);
console.log(`class_delay_p50_ms ${at(0.5).toFixed(1)}`);
console.log(`class_delay_p95_ms ${at(0.95).toFixed(1)}`);
console.log(`class_delay_max_ms ${delays.at(-1).toFixed(1)}`);
console.log(`relay_messages_in_per_s ${((endCounts.in_msgs - startCounts.in_msgs) / elapsed).toFixed(0)}`);
console.log(`relay_messages_out_per_s ${((endCounts.out_msgs - startCounts.out_msgs) / elapsed).toFixed(0)}`);
console.log(`relay_cpu_percent ${(((endUse.ticks - startUse.ticks) / ticksPerSecond / elapsed) * 100).toFixed(1)}`);
console.log(`relay_memory_mb ${(endUse.rss / 1048576).toFixed(1)}`);
console.log(`class_tablets_behind ${behind}`);
answerDelays.sort((a, b) => a - b);
const answerAt = (q) => answerDelays[Math.min(answerDelays.length - 1, Math.floor(q * answerDelays.length))];
console.log(`class_answers_tallied ${answerDelays.length}`);
console.log(`class_answer_p50_ms ${answerAt(0.5).toFixed(1)}`);
console.log(`class_answer_p95_ms ${answerAt(0.95).toFixed(1)}`);
console.log(`class_answer_max_ms ${answerDelays.at(-1).toFixed(1)}`);
console.log(`class_answers_lost ${answersLost}`);
ackDelays.sort((a, b) => a - b);
console.log(`class_answer_told_p95_ms ${ackDelays[Math.min(ackDelays.length - 1, Math.floor(0.95 * ackDelays.length))].toFixed(1)}`);
console.log(`tablet_signature_check_us ${(await checkCost()).toFixed(0)}`);

for (const one of all) {
  await one.lead.close();
  for (const f of one.followers) await f.close();
}
await server.remove();

// The messages into the relay and out of it, counted at its clients (the shipped configuration
// has no monitoring port).
async function relayCounts() {
  let inMsgs = 0;
  let outMsgs = 0;
  for (const one of all) {
    inMsgs += one.lead.connection.stats().outMsgs;
    for (const f of one.followers) {
      inMsgs += f.connection.stats().outMsgs;
      outMsgs += f.connection.stats().inMsgs;
    }
    outMsgs += one.lead.connection.stats().inMsgs;
  }
  return { in_msgs: inMsgs, out_msgs: outMsgs };
}
