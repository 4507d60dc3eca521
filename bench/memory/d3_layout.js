// Times d3-force laying out a graph for 300 ticks (its default many-body and link forces):
// reads {"nodes": [...ids], "edges": [[a, b], ...]} from the file named by argv[2], repeats
// argv[3] times and prints each time in milliseconds, one per line.
const fs = require("fs");
const d3 = require("d3-force");

const graph = JSON.parse(fs.readFileSync(process.argv[2], "utf8"));
const runs = Number(process.argv[3] || 3);
for (let run = 0; run < runs; ++run) {
  const nodes = graph.nodes.map((id) => ({ id }));
  const links = graph.edges.map(([source, target]) => ({ source, target }));
  const start = process.hrtime.bigint();
  const simulation = d3
    .forceSimulation(nodes)
    .force("charge", d3.forceManyBody())
    .force("link", d3.forceLink(links).id((d) => d.id))
    .stop();
  simulation.tick(300);
  const end = process.hrtime.bigint();
  console.log(Number(end - start) / 1e6);
}
