#!/usr/bin/env python3
"""Writes a mixed benchmark payload (about 300 MB) into a folder.

Deterministic for a given seed: large and small files, log-like text, source-like
text, structured binaries, incompressible data and one file larger than 64 MiB.
"""
import os
import random
import sys

MB = 1 << 20


def text_pool(rng, size):
    words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 10)))
             for _ in range(3000)]
    out, n = [], 0
    while n < size:
        line = ' '.join(rng.choice(words) for _ in range(rng.randint(4, 14)))
        line = '%08d %s: %s\n' % (rng.randint(0, 99999999), rng.choice(['INFO', 'WARN', 'DBG']), line)
        out.append(line)
        n += len(line)
    return ''.join(out).encode()[:size]


def slices(rng, pool, size):
    parts, n = [], 0
    while n < size:
        k = min(rng.randint(4096, 65536), size - n)
        at = rng.randint(0, len(pool) - k)
        parts.append(pool[at:at + k])
        n += k
    return b''.join(parts)


def structured(rng, size):
    # Code-like bytes: a vocabulary of short "instructions" drawn with a skewed
    # distribution, with random 32-bit immediates now and then.
    vocab = [rng.randbytes(rng.randint(1, 7)) for _ in range(600)]
    weights = [1.0 / (i + 1) for i in range(len(vocab))]
    out, n = [], 0
    while n < size:
        for tok in rng.choices(vocab, weights, k=4096):
            out.append(tok)
            n += len(tok)
        out.append(rng.randbytes(64))
        n += 64
    return b''.join(out)[:size]


def write(root, rel, data):
    path = os.path.join(root, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    if len(sys.argv) < 2:
        sys.exit('usage: gen_payload.py DIR [SEED]')
    root = sys.argv[1]
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 1)
    pool = text_pool(rng, 8 * MB)
    total = 0

    def put(rel, data):
        nonlocal total
        write(root, rel, data)
        total += len(data)

    put('Engine.exe', structured(rng, 3 * MB))
    put('images/system.img', slices(rng, pool, 40 * MB) + structured(rng, 30 * MB) +
        rng.randbytes(20 * MB))                                   # > 64 MiB, mixed
    put('logs/install.log', slices(rng, pool, 45 * MB))
    for i in range(6):
        put('drivers/drv%02d.sys' % i, structured(rng, 6 * MB))
    for i in range(4):
        put('firmware/fw%d.bin' % i, rng.randbytes(12 * MB))   # incompressible
    put('media/archive.cab', rng.randbytes(10 * MB))
    for i in range(3000):
        kind = i % 3
        size = rng.randint(200, 40000)
        data = slices(rng, pool, size) if kind < 2 else structured(rng, size)
        put('docs/%02d/file%04d.%s' % (i % 40, i, ['txt', 'xml', 'dat'][kind]), data)
    for i in range(200):
        put('empty/e%03d.cfg' % i, b'' if i % 2 else b'key=value\n')
    print('%s: %.1f MB' % (root, total / MB))


if __name__ == '__main__':
    main()
