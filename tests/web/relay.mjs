// A class's relay for the tests and the load test: Debian's nats-server run with the project's own
// configuration (its limits and permissions), on free ports of this machine, alone or as a
// cluster of several; and the site sealed for that relay, as make web RELAY=… seals it.
import { spawn, spawnSync } from 'node:child_process';
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { connect as tcpConnect, createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { until } from './wait.mjs';

const root = join(dirname(fileURLToPath(import.meta.url)), '../..');
const shipped = readFileSync(join(root, 'deploy/relay/nats-server.conf'), 'utf8');

export async function freePort() {
  const server = createServer();
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const { port } = server.address();
  await new Promise((resolve) => server.close(resolve));
  return port;
}

// Resolves once something listens on the port.
function listening(port, child) {
  return until(() => {
    if (child.exitCode !== null) throw new Error(`nats-server exited: ${child.stderrText}`);
    return new Promise((resolve) => {
      const socket = tcpConnect(port, '127.0.0.1');
      socket.once('connect', () => {
        socket.destroy();
        resolve(true);
      });
      socket.once('error', () => resolve(false));
    });
  }, `nats-server listening on ${port}`);
}

// One relay: the shipped configuration on other ports, with a cluster block when it is one of
// several. start() runs it (again, on the same ports, after stop()).
export function relay({ client, ws, cluster = null }) {
  const dir = mkdtempSync(join(tmpdir(), 'kansu-relay-'));
  let conf = shipped
    .replace('listen: "127.0.0.1:4222"', `listen: "127.0.0.1:${client}"`)
    .replace('listen: "127.0.0.1:9222"', `listen: "127.0.0.1:${ws}"`);
  if (conf === shipped) throw new Error('the shipped configuration no longer names its ports as expected');
  if (cluster) {
    const routes = cluster.routes.map((p) => `"nats-route://127.0.0.1:${p}"`).join(', ');
    conf += `\ncluster {\n  name: "kansu"\n  listen: "127.0.0.1:${cluster.port}"\n  routes: [${routes}]\n}\n`;
  }
  const file = join(dir, 'nats-server.conf');
  writeFileSync(file, conf);
  const self = {
    client, ws,
    wsUrl: `ws://127.0.0.1:${ws}`,
    clientUrl: `nats://127.0.0.1:${client}`,
    child: null,
    async start() {
      const child = spawn('nats-server', ['-c', file], { stdio: ['ignore', 'ignore', 'pipe'] });
      child.stderrText = '';
      child.stderr.on('data', (d) => {
        child.stderrText += d.toString();
      });
      self.child = child;
      await listening(ws, child);
      await listening(client, child);
    },
    async stop() {
      const child = self.child;
      self.child = null;
      if (!child || child.exitCode !== null) return;
      const gone = new Promise((resolve) => child.once('exit', resolve));
      child.kill('SIGTERM');
      await gone;
    },
    async remove() {
      await self.stop();
      rmSync(dir, { recursive: true, force: true });
    },
  };
  return self;
}

export async function startRelay() {
  const r = relay({ client: await freePort(), ws: await freePort() });
  await r.start();
  return r;
}

// Several relays routed to each other as one cluster, each started.
export async function startCluster(size) {
  const ports = [];
  for (let i = 0; i < size; ++i) ports.push({ client: await freePort(), ws: await freePort(), route: await freePort() });
  const relays = ports.map((p, i) => relay({
    client: p.client, ws: p.ws,
    cluster: { port: p.route, routes: ports.filter((_, j) => j !== i).map((q) => q.route) },
  }));
  for (const r of relays) await r.start();
  return relays;
}

// A copy of a built site sealed for these relays (one address, or a cluster's several).
export function sealedSite(site, relayAddresses) {
  const dir = mkdtempSync(join(tmpdir(), 'kansu-class-site-'));
  for (const f of readdirSync(site)) {
    if (!f.endsWith('.br') && !f.endsWith('.gz')) cpSync(join(site, f), join(dir, f));
  }
  const sealed = spawnSync(join(root, 'tools/web/seal-site.sh'), [dir, relayAddresses], { encoding: 'utf8' });
  if (sealed.status !== 0) throw new Error(`seal-site: ${sealed.stderr}`);
  return { dir, remove: () => rmSync(dir, { recursive: true, force: true }) };
}
