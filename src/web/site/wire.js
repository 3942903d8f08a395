// What travels through the relay, spelled the same on every side: the subjects of a class, the
// bytes of keys and signatures as text, and the size no message of a class comes near (a larger one is nobody's).
export const largestMessage = 4096;

export function subjectOf(classId, kind) {
  return `kansu.${classId}.${kind}`;
}

export function base64url(bytes) {
  let binary = '';
  for (const b of bytes) binary += String.fromCharCode(b);
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

export function fromBase64url(text) {
  if (typeof text !== 'string' || !/^[A-Za-z0-9_-]*$/.test(text) || text.length % 4 === 1) return null;
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/') + '='.repeat((4 - (text.length % 4)) % 4));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

