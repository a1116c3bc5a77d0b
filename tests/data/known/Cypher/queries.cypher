// Friends of friends.
MATCH (p:Person {name: 'Alice'})-[:KNOWS]->(f)-[:KNOWS]->(fof)
WHERE fof <> p // not herself
RETURN DISTINCT fof.name;

/* Creates a person

   with a homepage. */
CREATE (b:Person {name: "Bob", url: "http://bob.example"})
RETURN b; /* created */

MATCH (n) WHERE n.note = 'a // b' RETURN n;
